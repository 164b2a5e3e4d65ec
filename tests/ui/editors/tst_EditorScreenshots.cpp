// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the settings editors into PNG files for a visual check. It runs only when TRX_SCREENSHOT_DIR
// names the directory for the pictures (the build's screenshot target sets it) and is skipped otherwise.
#include "DesktopRecorder.h"
#include "model/BackUpOptions.h"
#include "ui/editors/TForm4.h"
#include "ui/editors/TFrame_FileFilter.h"
#include "ui/editors/TFrame_Options.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QtTest>

using namespace trx;

namespace {

// A window holding `content` in a captioned group box of the given size, in the desktop's font.
class Host : public QWidget {
public:
    Host(const QString& caption, QWidget* content, QSize size) {
        auto* box = new QGroupBox(caption);
        auto* inner = new QVBoxLayout(box);
        inner->addWidget(content);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(8, 8, 8, 8);
        layout->addWidget(box);
        resize(size);
    }
};

}  // namespace

class TestEditorScreenshots : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_ = qEnvironmentVariable("TRX_SCREENSHOT_DIR");
        if (dir_.isEmpty()) {
            QSKIP("TRX_SCREENSHOT_DIR is not set");
        }
        QVERIFY(QDir().mkpath(dir_));
    }

    void optionsFrame() {
        auto* frame = new TFrame_Options;
        Host host(QStringLiteral("Standard-Einstellungen"), frame, QSize(529, 430));
        cBackUpOptions options;
        options.TransferFlags = 0x09;  // names on, two levels
        frame->SetOptions(options);
        Save(host, QStringLiteral("TFrame_Options.png"));
        frame->CheckBox_TransferDirNames->setChecked(false);
        Save(host, QStringLiteral("TFrame_Options_TransferOff.png"));
    }

    void fileFilterFrames() {
        QWidget window;
        window.resize(529, 440);
        auto* include = new TFrame_FileFilter(desktop_);
        auto* exclude = new TFrame_FileFilter(desktop_);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(8, 8, 8, 8);
        for (auto [caption, frame] : {std::pair{QStringLiteral("Dateien einschließen"), include},
                                      std::pair{QStringLiteral("Dateien ausschließen"), exclude}}) {
            auto* box = new QGroupBox(caption);
            auto* inner = new QVBoxLayout(box);
            inner->addWidget(frame);
            layout->addWidget(box);
        }

        cFileFilter in(false);
        in.AllNoTypes = false;
        in.Types = {".DOC", ".PDF", ".TXT"};
        in.Attributes = kAttrArchive;
        in.Dates[0].LaterThan = 45366;
        in.Size1 = {true, 3221225472ull};
        in.Size2 = {false, 1536};
        in.Mask = "Brief*.txt";
        include->SetFilter(in);
        cFileFilter out(true);
        out.Types = {".BAK", ".TMP"};
        exclude->SetFilter(out);

        const QStringList pages{"Types", "Attributes", "Date", "Size", "Mask"};
        for (int page = 0; page < pages.size(); ++page) {
            include->ListBox->setCurrentRow(page);
            exclude->ListBox->setCurrentRow(page);
            Save(window, QStringLiteral("TFrame_FileFilter_%1_%2.png").arg(page + 1).arg(pages[page]));
        }
    }

    void addDirectoryChooser() {
        TForm4 dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        Save(dialog, QStringLiteral("TForm4.png"));
        dialog.RadioButton_Source->click();
        Save(dialog, QStringLiteral("TForm4_Chosen.png"));
    }

private:
    void Save(QWidget& widget, const QString& name) {
        if (!widget.isVisible()) {
            widget.show();
            QVERIFY(QTest::qWaitForWindowExposed(&widget));
        }
        QCoreApplication::processEvents();
        const QString path = QDir(dir_).filePath(name);
        QVERIFY2(widget.grab().save(path), qPrintable(path));
    }

    QString dir_;
    test::DesktopRecorder desktop_;  // the real type names and icons
};

QTEST_MAIN(TestEditorScreenshots)
#include "tst_EditorScreenshots.moc"
