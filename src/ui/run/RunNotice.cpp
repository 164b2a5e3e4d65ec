// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/RunNotice.h"

#include "engine/RunController.h"

#include <QFileInfo>
#include <QLocale>

namespace trx {

namespace {

// Numbers as a German reader writes them ("1.250"), whatever the locale of a scheduled run.
QString Number(std::uint64_t count) {
    return QLocale(QLocale::German, QLocale::Germany).toString(static_cast<qulonglong>(count));
}

QString Counted(std::uint64_t count, const QString& none, const QString& one, const QString& many) {
    if (count == 0) {
        return none;
    }
    return Number(count) + u' ' + (count == 1 ? one : many);
}

QString Capitalised(QString text) {
    if (!text.isEmpty()) {
        text[0] = text[0].toUpper();
    }
    return text;
}

struct cHeldBackCounts {
    std::uint64_t Deletions = 0;     // catalogued entries whose copies were not deleted
    std::uint64_t Destinations = 0;  // destinations that were not written into
};

cHeldBackCounts CountHeldBack(const cHeldBackList& list) {
    cHeldBackCounts counts;
    for (const cHeldBack& item : list) {
        if (item.HeldDeletions()) {
            counts.Deletions += item.Entries;
        } else {
            ++counts.Destinations;
        }
    }
    return counts;
}

// "3 Probleme, keine zurückgehaltenen Löschungen." and what else the user must know.
QString CountsText(const cRunResult& result) {
    const cHeldBackCounts held = CountHeldBack(result.HeldBack);
    const int problems = result.ProblemCount < 0 ? 0 : result.ProblemCount;
    QStringList lines;
    lines << Capitalised(Counted(static_cast<std::uint64_t>(problems), QStringLiteral("keine Probleme"),
                                 QStringLiteral("Problem"), QStringLiteral("Probleme")) +
                         QStringLiteral(", ") +
                         Counted(held.Deletions, QStringLiteral("keine zurückgehaltenen Löschungen"),
                                 QStringLiteral("zurückgehaltene Löschung"),
                                 QStringLiteral("zurückgehaltene Löschungen")) +
                         u'.');
    if (held.Destinations > 0) {
        lines << Counted(held.Destinations, QString(), QStringLiteral("Ziel wurde"),
                         QStringLiteral("Ziele wurden")) +
                     QStringLiteral(" nicht beschrieben, weil ein Datenträger zu fehlen scheint.");
    }
    if (!result.SaveError.empty()) {
        lines << QStringLiteral("Das Projekt konnte nach der Sicherung nicht gespeichert werden.");
    }
    return lines.join(u'\n');
}

QString Summary(const QString& projectPath, const QString& outcome) {
    return QStringLiteral("Sicherung „%1“ %2").arg(ProjectDisplayName(projectPath), outcome);
}

}  // namespace

QString ProjectDisplayName(const QString& projectPath) {
    QString name = QFileInfo(projectPath).fileName();
    if (const qsizetype dot = name.lastIndexOf(u'.'); dot > 0) {
        name.truncate(dot);
    }
    return name;
}

std::optional<cNotice> RunNotice(const cRunResult& result, const QString& projectPath,
                                 const QString& protocolPath, bool always) {
    cNotice notice;
    notice.ProtocolPath = protocolPath;
    if (result.AlreadyRunning) {
        notice.Summary = Summary(projectPath, QStringLiteral("nicht gestartet"));
        notice.Body = QStringLiteral(
            "Ein anderer Sicherungsvorgang dieses Projekts lief noch. Dieser Vorgang wurde nicht "
            "gestartet; es wurde nichts verändert.");
        return notice;
    }
    const bool problems = result.ProblemCount > 0 || !result.SaveError.empty();
    const bool heldBack = !result.HeldBack.empty();
    notice.Critical = problems || heldBack;
    notice.Body = CountsText(result);
    if (!result.Ran || result.Cancelled) {
        notice.Summary = Summary(projectPath, QStringLiteral("abgebrochen"));
        notice.Body = QStringLiteral("Der Sicherungsvorgang wurde abgebrochen.\n") + notice.Body;
    } else if (problems) {
        notice.Summary = Summary(projectPath, QStringLiteral("mit Problemen beendet"));
    } else if (heldBack) {
        notice.Summary = Summary(projectPath, QStringLiteral("unvollständig"));
    } else if (always) {
        notice.Summary = Summary(projectPath, QStringLiteral("abgeschlossen"));
    } else {
        return std::nullopt;
    }
    if (notice.Critical && !notice.ProtocolPath.isEmpty()) {
        notice.Body += QStringLiteral("\nEinzelheiten stehen im Protokoll.");
    }
    return notice;
}

cNotice LoadFailureNotice(const QString& projectPath, const QString& message) {
    cNotice notice;
    notice.Summary = Summary(projectPath, QStringLiteral("nicht gestartet"));
    notice.Body = QStringLiteral("Das Projekt konnte nicht geladen werden: ") + message;
    notice.Critical = true;
    return notice;
}

}  // namespace trx
