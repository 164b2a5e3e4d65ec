// SPDX-License-Identifier: GPL-3.0-or-later
// Every window in the desktop's font, at the size the test platform gives and at the larger size some
// desktops set: no text is cut, no control is squeezed below its smallest size and none overlaps another;
// a message box is wide enough for its caption. With TRX_SCREENSHOT_DIR set (`make screenshots`) the
// windows in the larger font are saved as pictures.
#include "MainWindowTestSupport.h"
#include "engine/RunController.h"
#include "model/ProjectFile.h"
#include "platform/PosixFileSystem.h"
#include "ui/common/CaptionWidth.h"
#include "ui/editors/TForm4.h"
#include "ui/editors/TFrame_FileFilter.h"
#include "ui/main/ProjectCommands.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>

using namespace trx;
using trx::test::MainWindowFixture;
using trx::test::Q;
using trx::test::RunWindowDriver;

namespace {

QString Describe(const QWidget* widget) {
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        text = label->text();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        text = button->text();
    } else if (const auto* box = qobject_cast<const QGroupBox*>(widget)) {
        text = box->title();
    }
    return QStringLiteral("%1 %2 \"%3\"")
        .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName(), text.left(40));
}

// Inside a spin box, a drop-down list, an item view or a tab row: drawn by that control, not laid out.
bool InsideAComplexControl(const QWidget* widget, const QWidget* window) {
    for (const QWidget* up = widget->parentWidget(); up != nullptr && up != window; up = up->parentWidget()) {
        if (qobject_cast<const QAbstractSpinBox*>(up) || qobject_cast<const QComboBox*>(up) ||
            qobject_cast<const QAbstractItemView*>(up) || qobject_cast<const QTabBar*>(up)) {
            return true;
        }
    }
    return false;
}

// What a user would see as broken in `window` as it is laid out now.
QStringList LayoutFaults(QWidget& window) {
    QStringList faults;
    QList<QWidget*> placed;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(&window) || InsideAComplexControl(widget, &window)) {
            continue;
        }
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->text().isEmpty() || label->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored) {
                continue;
            }
            const QRect room = label->contentsRect();
            const int wrap = label->wordWrap() ? int(Qt::TextWordWrap) : 0;
            const QRect needed =
                label->fontMetrics().boundingRect(room, wrap | int(label->alignment()), label->text());
            if (needed.width() > room.width() || needed.height() > room.height()) {
                faults << QStringLiteral("cut: %1 needs %2x%3, has %4x%5")
                              .arg(Describe(label))
                              .arg(needed.width())
                              .arg(needed.height())
                              .arg(room.width())
                              .arg(room.height());
            }
        } else if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget) ||
                   qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                   qobject_cast<QGroupBox*>(widget) || qobject_cast<QListWidget*>(widget)) {
            QSize needed = widget->minimumSizeHint();
            if (auto* list = qobject_cast<QListWidget*>(widget)) {
                needed = QSize(list->sizeHintForColumn(0) + 2 * list->frameWidth(), 0);
            } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
                // The style's least width of 80 pixels is a look, not a need: "..." may be narrower.
                needed.setWidth(button->fontMetrics().horizontalAdvance(button->text()) + 8);
            }
            if (widget->width() < needed.width() || widget->height() < needed.height()) {
                faults << QStringLiteral("squeezed: %1 needs %2x%3, has %4x%5")
                              .arg(Describe(widget))
                              .arg(needed.width())
                              .arg(needed.height())
                              .arg(widget->width())
                              .arg(widget->height());
            }
        } else if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
            if (tabs->tabBar()->sizeHint().width() > tabs->width()) {
                faults << QStringLiteral("cut: the tabs of %1").arg(Describe(tabs));
            }
            continue;
        } else {
            continue;
        }
        placed << widget;
    }
    for (qsizetype i = 0; i < placed.size(); ++i) {
        for (qsizetype j = i + 1; j < placed.size(); ++j) {
            if (placed[i]->parentWidget() == placed[j]->parentWidget() &&
                placed[i]->geometry().intersects(placed[j]->geometry())) {
                faults << QStringLiteral("overlap: %1 and %2").arg(Describe(placed[i]), Describe(placed[j]));
            }
        }
    }
    return faults;
}

}  // namespace

class TestDesktopFontScreenshots : public QObject {
    Q_OBJECT

private slots:
    void init() {
        desktopFont_ = QApplication::font();
        dir_ = qEnvironmentVariable("TRX_SCREENSHOT_DIR");
        if (!dir_.isEmpty()) {
            QVERIFY(QDir().mkpath(dir_));
        }
    }
    void cleanup() { QApplication::setFont(desktopFont_); }

    void everyWindowFits_data() {
        QTest::addColumn<int>("pointSize");
        QTest::newRow("desktop default") << 0;
        QTest::newRow("11 pt") << 11;
        QTest::newRow("14 pt") << 14;
    }

    void everyWindowFits() {
        QFETCH(int, pointSize);
        if (pointSize > 0) {
            QFont larger = QApplication::font();
            larger.setPointSize(pointSize);
            QApplication::setFont(larger);
        }
        picturePrefix_ = pointSize > 0 ? QStringLiteral("Schrift%1pt_").arg(pointSize) : QString();
        MainWindowFixture f;
        f.window.CreateDialogs();
        OpenAProject(f);
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));

        for (int tab = 0; tab < f.window.PageControl->count(); ++tab) {
            f.window.PageControl->setCurrentIndex(tab);
            Check(f.window, QStringLiteral("TForm1_") + f.window.PageControl->tabText(tab));
        }
        f.window.PageControl->setCurrentIndex(1);
        for (int page = 1; page < f.window.Frame_FileFilterIn->ListBox->count(); ++page) {
            f.window.Frame_FileFilterIn->ListBox->setCurrentRow(page);
            f.window.Frame_FileFilterOut->ListBox->setCurrentRow(page);
            Check(f.window, QStringLiteral("TForm1_Filter_%1").arg(page));
        }

        // The run window at the end of a run with a missing source and held-back work: the longest display.
        TForm2& run = *f.window.RunWindow();
        run.Controller().SetPumpHook([&run, &f] {
            run.Controller().Context().HeldBack = {
                {cHeldBack::Reason::SourceEmpty, f.tmp / "Eigene Dateien/Briefe und Rechnungen/", 1284}};
        });
        run.show();
        QVERIFY(QTest::qWaitFor([&run] { return run.RunFinished(); }, 10000));
        QVERIFY(run.Button_ReleaseHeldBack->isVisible());
        Show(run, QStringLiteral("TForm2"));
        for (QDialog* dialog : {static_cast<QDialog*>(f.window.ShortcutDialog()),
                                static_cast<QDialog*>(f.window.AddDirectoryChooser()),
                                static_cast<QDialog*>(f.window.AboutDialog())}) {
            Show(*dialog, dialog->objectName());
        }
        TForm5& settings = *f.window.ElementSettingsDialog();
        cBackUpSource* source = f.project.Destinations[0]->Sources[0];
        settings.SetElements(f.project, {source}, {source});
        settings.show();  // showing picks the first tab
        QVERIFY(QTest::qWaitForWindowExposed(&settings));
        for (int tab = 0; tab < settings.PageControl->count(); ++tab) {
            settings.PageControl->setCurrentIndex(tab);
            Check(settings, QStringLiteral("Form5_%1").arg(tab));
        }
        settings.hide();

        QMessageBox box(QMessageBox::Critical, QStringLiteral("Ungültige oder unvollständige Angaben"),
                        QStringLiteral("Kurz."), QMessageBox::Ok);
        FitCaption(box);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QVERIFY2(box.width() >= CaptionWidth(box), qPrintable(QString::number(box.width())));
    }

private:
    // A saved project with long paths, a missing source and filters, opened in the window.
    void OpenAProject(MainWindowFixture& f) {
        cProject project;
        auto* daily = new cBackUpDestination(project, f.tmp.MakeDir("Sicherungen/Täglich"));
        new cBackUpSource(f.tmp.MakeDir("Eigene Dateien/Briefe und Rechnungen"), *daily);
        new cBackUpSource(f.tmp / "Eigene Dateien/Archiv (fehlt)/", *daily);
        project.DefaultOptions.Filters[0].AllNoTypes = false;
        project.DefaultOptions.Filters[0].Types = {".DOC", ".ODT"};
        project.Description = "Briefe und Rechnungen";
        const std::string path = f.tmp / "Sicherung.buf";
        platform::PosixFileSystem fs;
        SaveProject(project, path, fs);
        f.window.Commands().OpenProject(Q(path));
        QVERIFY(f.dialogs.Errors.isEmpty());
    }

    void Show(QWidget& window, const QString& name) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Check(window, name);
        window.hide();
    }

    void Check(QWidget& window, const QString& name) {
        QCoreApplication::processEvents();
        const QStringList faults = LayoutFaults(window);
        QVERIFY2(faults.isEmpty(),
                 qPrintable(name + QStringLiteral(":\n  ") + faults.join(QStringLiteral("\n  "))));
        if (!dir_.isEmpty() && !picturePrefix_.isEmpty()) {
            const QString file = QDir(dir_).filePath(picturePrefix_ + name + QStringLiteral(".png"));
            QVERIFY2(window.grab().save(file), qPrintable(file));
        }
    }

    QFont desktopFont_;
    QString dir_;
    QString picturePrefix_;
};

QTEST_MAIN(TestDesktopFontScreenshots)
#include "tst_DesktopFontScreenshots.moc"
