// SPDX-License-Identifier: GPL-3.0-or-later
// Launchers as CreateShortcut writes them and ReadShortcut reads them back: the Exec line by the launcher
// rules, paths no Windows shortcut could hold, fail-safe writing, and launchers other programs wrote.
#include "LauncherReading.h"
#include "platform/PosixFileSystem.h"
#include "support/FaultyFileSystem.h"
#include "support/TestDir.h"
#include "ui/common/CommaText.h"
#include "ui/shortcut/Shortcut.h"

#include <sys/stat.h>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>
#include <cerrno>

using namespace trx;
using trx::test::RawLauncherValue;
using trx::test::ReadExecStrictly;

namespace {

const QString kProgram = QStringLiteral("/opt/Tresorix Programm/trxmain");

QString Q(const std::string& path) {
    return QString::fromStdString(path);
}

std::uint32_t ModeOf(const QString& path) {
    struct stat st {};
    return ::lstat(path.toUtf8().constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// The argument string the shortcut dialog composes for a project with all switches and a command line.
QString DialogArguments(const QString& project, const QString& command) {
    return QuotedArgument(project) + QStringLiteral(" /s /h /a ") + QuotedArgument(command);
}

}  // namespace

class TestShortcut : public QObject {
    Q_OBJECT

private slots:
    // Projects whose paths hold what a Windows path never does must reach the program unchanged.
    void pathsSurviveTheLauncher_data() {
        QTest::addColumn<QString>("project");
        QTest::addColumn<QString>("command");
        QTest::newRow("plain") << "/home/benutzer/Sicherung/Daily.buf"
                               << "mail -q";
        QTest::newRow("blanks") << "/home/benutzer/Eigene Dateien/Tages Sicherung.buf"
                                << "a  b";
        QTest::newRow("double quotes") << "/tmp/Projekt \"Alt\".buf"
                                       << "\"/opt/My Tool/tool\" /x \"a b\"";
        QTest::newRow("backslashes") << "/tmp/a\\b\\\\c\\.buf"
                                     << "C:\\Tools\\mail.exe -q";
        QTest::newRow("dollar and backtick") << "/tmp/$HOME/`id`/${x}.buf"
                                             << "echo $PATH `id`";
        QTest::newRow("percent") << "/tmp/100%/%f %%u %k.buf"
                                 << "printf %s%%";
        QTest::newRow("umlauts") << "/home/jürgen/Größe ßÄÖÜ €.buf"
                                 << "notify-send \"Fertig – ok\"";
        QTest::newRow("comma and single quote") << "/tmp/a,b/it's.buf"
                                                << "prog a,b";
        QTest::newRow("shell characters") << "/tmp/~#;&|<>*?()=!.buf"
                                          << "x; rm -rf ~ &";
        QTest::newRow("blanks at the ends") << " /tmp/x .buf "
                                            << " y ";
        QTest::newRow("tab and line feed") << "/tmp/a\tb\nc.buf"
                                           << "one\ntwo";
    }

    void pathsSurviveTheLauncher() {
        QFETCH(QString, project);
        QFETCH(QString, command);
        trx::test::TestDir tmp;
        const QString link = Q(tmp / "Täglich \"1\".desktop");
        const QString arguments = DialogArguments(project, command);
        QVERIFY(CreateShortcut(fs_, kProgram, link, arguments, QStringLiteral("Tresorix-Projekt \"Woche\""),
                               QString(), 0));

        // Read by the rules alone, the line starts the program on the project with every switch.
        const auto exec = ReadExecStrictly(RawLauncherValue(link, QStringLiteral("Exec")));
        QVERIFY2(exec.Problem.isEmpty(), qPrintable(exec.Problem + ": " + RawLauncherValue(link, "Exec")));
        const QStringList expected{kProgram, project, "/s", "/h", "/a", command};
        QCOMPARE(exec.Items, expected);

        // Read back, the argument string is the one written, and its split names the project first.
        QString target, readArguments, description, icon;
        int index = -1;
        QVERIFY(ReadShortcut(fs_, link, &target, &readArguments, &description, &icon, &index));
        QCOMPARE(target, kProgram);
        QCOMPARE(readArguments, arguments);
        QCOMPARE(SplitCommaText(readArguments), expected.mid(1));
        QCOMPARE(description, QStringLiteral("Tresorix-Projekt \"Woche\""));
        QCOMPARE(icon, kProgramIconName);
        QCOMPARE(index, 0);
    }

    // The lines themselves: quoting only where needed keeps them readable for people and desktops.
    void launcherLinesAsWritten() {
        trx::test::TestDir tmp;
        const QString link = Q(tmp / "x.desktop");
        QVERIFY(CreateShortcut(fs_, "/usr/bin/trxmain", link, QuotedArgument("/home/u/Daily.buf") + " /s /a",
                               "", "", 0));
        QCOMPARE(RawLauncherValue(link, "Exec"), QStringLiteral("/usr/bin/trxmain /home/u/Daily.buf /s /a"));
        QCOMPARE(RawLauncherValue(link, "Name"), QStringLiteral("x"));
        QCOMPARE(RawLauncherValue(link, "Icon"), QStringLiteral("tresorix"));
        QCOMPARE(RawLauncherValue(link, "Type"), QStringLiteral("Application"));

        // A backslash becomes four characters and a dollar sign "\\$" in the file, a percent sign "%%".
        QVERIFY(CreateShortcut(fs_, kProgram, link, QuotedArgument("/P \"Q\" $x\\y 5%.buf"), "", "", 0));
        QCOMPARE(RawLauncherValue(link, "Exec"),
                 QStringLiteral(R"("/opt/Tresorix Programm/trxmain" "/P \\"Q\\" \\$x\\\\y 5%%.buf")"));

        // Name and description keep blanks at their ends, backslashes and line breaks.
        const QString named = Q(tmp / " Woche\\Sicherung .desktop");
        const QString description = QStringLiteral(" Zeile 1\nZeile\t2 \\ ");
        QVERIFY(CreateShortcut(fs_, kProgram, named, QuotedArgument("/p.buf"), description, "", 0));
        QCOMPARE(RawLauncherValue(named, "Name"), QStringLiteral(R"(\sWoche\\Sicherung\s)"));
        QString read;
        QVERIFY(ReadShortcut(fs_, named, nullptr, nullptr, &read));
        QCOMPARE(read, description);
    }

    // A character no launcher line can carry is refused instead of being written wrongly.
    void controlCharactersAreRefused() {
        trx::test::TestDir tmp;
        const QString link = Q(tmp / "x.desktop");
        QString failure;
        QVERIFY(!CreateShortcut(fs_, kProgram, link, QuotedArgument(QStringLiteral("/tmp/a\x01.buf")), "", "",
                                0, &failure));
        QVERIFY(!failure.isEmpty());
        QVERIFY(!QFileInfo::exists(link));
        QCOMPARE(QDir(Q(tmp.Path())).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void launcherMayBeStarted() {
        trx::test::TestDir tmp;
        const mode_t previous = ::umask(022);
        const QString fresh = Q(tmp / "neu.desktop");
        QVERIFY(CreateShortcut(fs_, kProgram, fresh, "", "", "", 0));
        QCOMPARE(ModeOf(fresh), 0755u);
        ::umask(077);
        const QString strict = Q(tmp / "streng.desktop");
        QVERIFY(CreateShortcut(fs_, kProgram, strict, "", "", "", 0));
        ::umask(previous);
        QCOMPARE(ModeOf(strict), 0700u);

        // A replaced launcher keeps who may read it and gains the right to be started.
        const QString old = Q(tmp.WriteFile("alt.desktop", "[Desktop Entry]\n"));
        QVERIFY(::chmod(old.toUtf8().constData(), 0640) == 0);
        QVERIFY(CreateShortcut(fs_, kProgram, old, "", "", "", 0));
        QCOMPARE(ModeOf(old), 0750u);
    }

    // Writing through a link replaces the launcher it names and keeps the link.
    void linkIsFollowed() {
        trx::test::TestDir tmp;
        const QString real = Q(tmp.WriteFile("real/Daily.desktop", "alt"));
        const QString link = Q(tmp / "Daily.desktop");
        QVERIFY(QFile::link(real, link));
        QVERIFY(CreateShortcut(fs_, kProgram, link, QuotedArgument("/p.buf"), "", "", 0));
        QVERIFY(QFileInfo(link).isSymLink());
        QString arguments;
        QVERIFY(ReadShortcut(fs_, real, nullptr, &arguments));
        QCOMPARE(arguments, QStringLiteral("\"/p.buf\""));
    }

    // However writing fails, the old launcher stays whole and no temporary file is left behind.
    void failedWriteLeavesTheOldLauncher_data() {
        QTest::addColumn<int>("op");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("pathPart");
        using Op = trx::test::FaultyFileSystem::Op;
        QTest::newRow("create") << int(Op::CreateFileAt) << EACCES << ".trx-";
        QTest::newRow("disk full") << int(Op::Write) << ENOSPC << ".trx-";
        QTest::newRow("sync") << int(Op::Sync) << EIO << ".trx-";
        QTest::newRow("rename") << int(Op::RenameAt) << EXDEV << "Daily.desktop";
    }

    void failedWriteLeavesTheOldLauncher() {
        QFETCH(int, op);
        QFETCH(int, error);
        QFETCH(QString, pathPart);
        trx::test::TestDir tmp;
        const std::string old = "[Desktop Entry]\nType=Application\nName=Alt\nExec=alt\n";
        const QString link = Q(tmp.WriteFile("Daily.desktop", old));
        platform::PosixFileSystem real;
        trx::test::FaultyFileSystem faulty(real);
        faulty.Fail(static_cast<trx::test::FaultyFileSystem::Op>(op), pathPart.toStdString(), error, 16);

        QString failure;
        QVERIFY(!CreateShortcut(faulty, kProgram, link, QuotedArgument("/p.buf"), "", "", 0, &failure));
        QCOMPARE(failure, QString::fromLocal8Bit(std::strerror(error)));
        QCOMPARE(trx::test::ReadWholeFile(link.toStdString()), old);
        QCOMPARE(QDir(Q(tmp.Path())).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"Daily.desktop"});
    }

    void desktopFileValidateAcceptsTheLauncher() {
        const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (validator.isEmpty()) {
            QSKIP("desktop-file-validate is not installed (package desktop-file-utils)");
        }
        trx::test::TestDir tmp;
        const QString link = Q(tmp / "Tägliche Sicherung.desktop");
        QVERIFY(CreateShortcut(fs_, kProgram, link,
                               DialogArguments("/home/jürgen/A \"b\" $c\\d 5%.buf", "mail -q \"x y\""),
                               QStringLiteral("Tresorix-Projekt \"Daten\""), "", 0));
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(validator, {link});
        QVERIFY(process.waitForFinished(10000));
        const QString output = QString::fromUtf8(process.readAll());
        QVERIFY2(process.exitCode() == 0, qPrintable(output));
        QVERIFY2(!output.contains(QStringLiteral("error")), qPrintable(output));
    }

    // A desktop's own launcher starts exactly the program and arguments that were written.
    void desktopStartsTheLauncher() {
        const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
        if (gio.isEmpty()) {
            QSKIP("gio is not installed (package libglib2.0-bin)");
        }
        trx::test::TestDir tmp;
        // A stand-in program that writes the arguments it gets, each ended by a NUL byte.
        const QString program = Q(tmp.WriteFile(
            "Mein $Programm/trx \"main\"",
            "#!/bin/sh\nout=\"$(dirname \"$0\")/argv\"\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done >"
            " \"$out.tmp\" && mv \"$out.tmp\" \"$out\"\n"));
        QVERIFY(::chmod(program.toUtf8().constData(), 0755) == 0);
        const QString project = QStringLiteral("/home/jürgen/Eigene \"Dateien\"/$HOME\\x` 5%f,a'b.buf");
        const QString command = QStringLiteral("\"/opt/My Tool/tool\" /x %U");
        const QString link = Q(tmp / "start.desktop");
        QVERIFY(CreateShortcut(fs_, program, link, DialogArguments(project, command), "", "", 0));

        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(gio, {QStringLiteral("launch"), link});
        QVERIFY(process.waitForFinished(10000));
        QVERIFY2(process.exitCode() == 0, process.readAll().constData());
        const QString argv = QFileInfo(program).path() + QStringLiteral("/argv");
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo::exists(argv); }, 10000));
        QFile file(argv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QStringList received = QString::fromUtf8(file.readAll()).split(QChar(u'\0'));
        received.removeLast();  // after the last NUL
        QCOMPARE(received, (QStringList{project, "/s", "/h", "/a", command}));
    }

    // Launchers written by other programs: quoting of all kinds, field codes, other groups, CR LF.
    void foreignLauncherIsRead() {
        trx::test::TestDir tmp;
        const QString link = Q(tmp.WriteFile(
            "fremd.desktop",
            "\xEF\xBB\xBF# made by hand\r\n"
            "[Desktop Entry]\r\n"
            "Type=Application\r\n"
            "Name=Fremd\r\n"
            "Name[de]=Fremd auf Deutsch\r\n"
            "Comment = Sichert\\sdie\\nDaten\r\n"
            "Exec=trxmain '/home/u/mit Blank.buf' \"a\\\\\\\\b\\\\$\" c\\ d %U --name=%c 50%% %i %k\r\n"
            "Icon=backup\r\n"
            "\r\n"
            "[Desktop Action Other]\r\n"
            "Exec=other\r\n"));
        QString target, arguments, description, icon;
        QVERIFY(ReadShortcut(fs_, link, &target, &arguments, &description, &icon));
        QCOMPARE(target, QStringLiteral("trxmain"));
        QCOMPARE(SplitCommaText(arguments), (QStringList{"/home/u/mit Blank.buf", "a\\b$", "c d",
                                                         "--name=Fremd", "50%", "--icon", "backup", link}));
        QCOMPARE(description, QStringLiteral("Sichert die\nDaten"));
        QCOMPARE(icon, QStringLiteral("backup"));
    }

    // What is no launcher gives false and empties every part asked for; parts not asked for are skipped.
    void unreadableLauncherGivesNothing_data() {
        QTest::addColumn<QString>("content");
        QTest::newRow("missing") << QString();
        QTest::newRow("no group") << "Exec=trxmain \"/p.buf\"\n";
        QTest::newRow("other group") << "[Desktop Action x]\nExec=trxmain /p.buf\n";
        QTest::newRow("binary") << QString::fromLatin1("\x4c\x00\x00\x00\x01\x14\x02\x00", 8);
    }

    void unreadableLauncherGivesNothing() {
        QFETCH(QString, content);
        trx::test::TestDir tmp;
        QString link = Q(tmp / "x.desktop");
        if (!content.isNull()) {
            link = Q(tmp.WriteFile("x.desktop", content.toStdString()));
        }
        QString target = "t", arguments = "a", description = "d", icon = "i";
        int index = 7;
        QVERIFY(!ReadShortcut(fs_, link, &target, &arguments, &description, &icon, &index));
        QVERIFY(target.isEmpty() && arguments.isEmpty() && description.isEmpty() && icon.isEmpty());
        QCOMPARE(index, 0);
        QVERIFY(!ReadShortcut(fs_, Q(tmp.Path()), nullptr, &arguments));  // a folder named like a launcher
    }

private:
    platform::PosixFileSystem fs_;
};

QTEST_MAIN(TestShortcut)
#include "tst_Shortcut.moc"
