// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the element settings dialog in its two modes into PNG files for a visual check. It runs only
// when TRX_SCREENSHOT_DIR names the directory for the pictures and checks that the dialog renders otherwise.
#include "DesktopRecorder.h"
#include "model/BackUpDestination.h"
#include "model/BackUpOptions.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "ui/editors/TForm5.h"
#include "ui/editors/TFrame_FileFilter.h"

#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QtTest>

using namespace trx;

class TestTForm5Screenshots : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_ = qEnvironmentVariable("TRX_SCREENSHOT_DIR");
        if (!dir_.isEmpty()) {
            QVERIFY(QDir().mkpath(dir_));
        }
    }

    void bothModes() {
        cProject project;
        auto* documents = new cBackUpDestination(project, "/media/Sicherungen/");
        auto* pictures = new cBackUpDestination(project, "/media/Bilder-Sicherung/");
        auto* letters = new cBackUpSource("/home/benutzer/Eigene Dateien/Briefe/", *documents);
        auto* invoices = new cBackUpSource("/home/benutzer/Eigene Dateien/Rechnungen/", *documents);
        auto* photos = new cBackUpSource("/home/benutzer/Bilder/", *pictures);
        auto* own = new cBackUpOptions;
        own->Filters[0].AllNoTypes = false;
        own->Filters[0].Types = {".JPG", ".PNG"};
        photos->SetOptions(own);
        project.DefaultOptions.Filters[1].AllNoTypes = false;
        project.DefaultOptions.Filters[1].Types = {".BAK", ".TMP"};

        TForm5 dialog(desktop_);
        TForm5Owner owner;
        owner.ElementIcon = [&dialog](const cBackUpSource&) {
            return dialog.style()->standardIcon(QStyle::SP_DirIcon);
        };
        dialog.SetOwner(owner);
        // The tree lists destinations and sources by path.
        const std::vector<cBackUpSource*> treeOrder{photos, letters, invoices};

        dialog.SetElements(project, {letters}, treeOrder);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        Save(dialog, QStringLiteral("TForm5_GroupMode.png"));
        dialog.PageControl->setCurrentIndex(1);
        Save(dialog, QStringLiteral("TForm5_GroupMode_Options.png"));
        dialog.PageControl->setCurrentIndex(0);
        dialog.Button_ChangeElements->click();
        Save(dialog, QStringLiteral("TForm5_SelectionMode.png"));
        dialog.Button_Cancel->click();

        // Two marked sources with different settings: selection mode from the start.
        dialog.SetElements(project, {photos, invoices}, treeOrder);
        dialog.show();
        dialog.Frame_FileFilter1->ListBox->setCurrentRow(0);
        Save(dialog, QStringLiteral("TForm5_SelectionMode_DifferentSets.png"));
        dialog.Button_Cancel->click();
    }

private:
    void Save(QWidget& widget, const QString& name) {
        QCoreApplication::processEvents();
        const QImage picture = widget.grab().toImage();
        QVERIFY(!picture.isNull());
        if (!dir_.isEmpty()) {
            const QString path = QDir(dir_).filePath(name);
            QVERIFY2(picture.save(path), qPrintable(path));
        }
    }

    QString dir_;
    test::DesktopRecorder desktop_;  // the real type names and icons
};

QTEST_MAIN(TestTForm5Screenshots)
#include "tst_TForm5Screenshots.moc"
