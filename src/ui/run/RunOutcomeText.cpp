// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/RunOutcomeText.h"

#include "engine/RunController.h"
#include "ui/common/MinimizeName.h"
#include "ui/common/ModelText.h"

#include <QStringList>

namespace trx {

namespace {

constexpr int kFoldersShown = 3;   // in the window, where room is short
constexpr int kFoldersAsked = 10;  // in the question, which has room for full paths

QString Entries(std::uint64_t count) {
    return count == 1 ? QStringLiteral("1 Eintrag") : QStringLiteral("%1 Einträge").arg(count);
}

// After "von".
QString OfEntries(std::uint64_t count) {
    return count == 1 ? QStringLiteral("1 Eintrag") : QStringLiteral("%1 Einträgen").arg(count);
}

// What was not done; the folder it concerns follows on a line of its own.
QString HeldBackLead(const cHeldBack& item) {
    switch (item.Why) {
        case cHeldBack::Reason::DestinationMissing:
            return QStringLiteral("Nichts gesichert, das Ziel fehlt:");
        case cHeldBack::Reason::DestinationEmpty:
            return QStringLiteral("Nichts gesichert, das Ziel ist leer:");
        default:
            return QStringLiteral("Nicht gelöscht: %1 in").arg(Entries(item.Entries));
    }
}

// A folder shortened from the left to `maxWidth`, keeping its own name: "/.../Fotos/Urlaub/".
QString ShortFolder(const std::string& path, const std::function<int(const QString&)>& width, int maxWidth) {
    QString folder = FromModel(path);
    const bool slash = folder.endsWith(u'/') && folder.size() > 1;
    if (slash) {
        folder.chop(1);  // so that the shortening treats the folder's own name as the part to keep
    }
    const QString suffix = slash ? QStringLiteral("/") : QString();
    return MinimizeName(
               folder, [&width, &suffix](const QString& text) { return width(text + suffix); }, maxWidth) +
           suffix;
}

// What releasing it will do, and below it the folder concerned in full.
QString ReleaseConsequence(const cHeldBack& item) {
    QString what;
    switch (item.Why) {
        case cHeldBack::Reason::DestinationMissing:
            what = QStringLiteral("Das fehlende Ziel wird neu angelegt und gefüllt:");
            break;
        case cHeldBack::Reason::DestinationEmpty:
            what = QStringLiteral("Das leere Ziel wird gefüllt:");
            break;
        default:
            what = QStringLiteral("Die Sicherungskopien von %1 werden gelöscht, deren Originale fehlen in:")
                       .arg(OfEntries(item.Entries));
            break;
    }
    return QStringLiteral("• ") + what + QStringLiteral("\n    ") + FromModel(item.Path);
}

QString More(qsizetype count) {
    return count == 1 ? QStringLiteral("und 1 weiterer Ordner")
                      : QStringLiteral("und %1 weitere Ordner").arg(count);
}

}  // namespace

bool HadProblems(const cRunResult& result) {
    return result.ProblemCount > 0 || !result.HeldBack.empty() || !result.SaveError.empty();
}

QString OutcomeHeadline(const cRunResult& result) {
    if (result.Cancelled) {
        return QStringLiteral("Der Sicherungsvorgang wurde abgebrochen.");
    }
    return HadProblems(result) ? QStringLiteral("Die Sicherung ist mit Problemen beendet.")
                               : QStringLiteral("Die Sicherung ist abgeschlossen.");
}

QString OutcomeDetails(const cRunResult& result, const std::function<int(const QString&)>& width,
                       int maxWidth) {
    QStringList lines;
    // A cancelled run says so and no more: the copy the cancel cut short counts as a problem of its own.
    if (result.ProblemCount > 0 && !result.Cancelled) {
        lines << (result.ProblemCount == 1
                      ? QStringLiteral("1 Problem ist aufgetreten.")
                      : QStringLiteral("%1 Probleme sind aufgetreten.").arg(result.ProblemCount));
        if (result.ProtocolOpened) {
            lines << QStringLiteral("Einzelheiten zeigt „Protokoll anzeigen“.");
        }
    }
    if (!result.SaveError.empty()) {
        lines << QStringLiteral("Das Projekt konnte nicht gespeichert werden.");
    }
    if (result.VersionsKept > 0) {
        lines << (result.VersionsKept == 1
                      ? QStringLiteral("1 frühere Version wurde aufbewahrt.")
                      : QStringLiteral("%1 frühere Versionen wurden aufbewahrt.").arg(result.VersionsKept));
    }
    if (!result.HeldBack.empty()) {
        lines << QStringLiteral("Zurückgehalten, weil ein Datenträger zu fehlen scheint:");
        const auto shown = std::min<qsizetype>(static_cast<qsizetype>(result.HeldBack.size()), kFoldersShown);
        for (qsizetype i = 0; i < shown; ++i) {
            const cHeldBack& item = result.HeldBack[static_cast<std::size_t>(i)];
            const QString indent = QStringLiteral("    ");
            lines << QStringLiteral("• ") + HeldBackLead(item)
                  << indent + ShortFolder(item.Path, width, maxWidth - width(indent));
        }
        if (static_cast<qsizetype>(result.HeldBack.size()) > shown) {
            lines << QStringLiteral("• ") + More(static_cast<qsizetype>(result.HeldBack.size()) - shown);
        }
    }
    return lines.join(u'\n');
}

QString ReleaseQuestion(const cRunResult& result, bool fromPreview) {
    const QString intro =
        fromPreview ? QStringLiteral("Die Sicherung wird ausgeführt, und dabei geschieht auch, was sie sonst "
                                     "zurückhalten würde:")
                    : QStringLiteral("Die Sicherung wird noch einmal ausgeführt, und diesmal geschieht auch, "
                                     "was zurückgehalten wurde:");
    QStringList lines{intro, QString()};
    std::uint64_t deletions = 0;
    for (const cHeldBack& item : result.HeldBack) {
        deletions += item.HeldDeletions() ? item.Entries : 0;
    }
    const auto asked = std::min<qsizetype>(static_cast<qsizetype>(result.HeldBack.size()), kFoldersAsked);
    for (qsizetype i = 0; i < asked; ++i) {
        lines << ReleaseConsequence(result.HeldBack[static_cast<std::size_t>(i)]);
    }
    if (static_cast<qsizetype>(result.HeldBack.size()) > asked) {
        lines << QStringLiteral("• ") + More(static_cast<qsizetype>(result.HeldBack.size()) - asked) +
                     (fromPreview ? QStringLiteral(" (in der Liste)") : QStringLiteral(" (im Protokoll)"));
    }
    lines << QString();
    if (deletions > 0) {
        lines << QStringLiteral("Insgesamt werden die Sicherungskopien von %1 gelöscht. ")
                         .arg(OfEntries(deletions)) +
                     QStringLiteral(
                         "Fahren Sie nur fort, wenn die Originale wirklich gelöscht wurden und "
                         "jeder Datenträger eingehängt ist.");
    } else {
        lines << QStringLiteral("Fahren Sie nur fort, wenn jeder Datenträger eingehängt ist.");
    }
    return lines.join(u'\n');
}

}  // namespace trx
