// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopRecorder.h"
#include "model/FileFilter.h"
#include "ui/editors/ExtensionInput.h"
#include "ui/editors/TCriteriaDelegate.h"
#include "ui/editors/TFrame_FileFilter.h"
#include "ui/editors/TSpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QMimeDatabase>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QtTest>
#include <cstdint>
#include <functional>

using namespace trx;

namespace {

// Runs `answer` on the modal dialog the code under test opens next, once its event loop runs.
void OnNextModal(std::function<void(QWidget*)> answer, int triesLeft = 200) {
    QTimer::singleShot(0, [answer = std::move(answer), triesLeft]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr && triesLeft > 0) {
            OnNextModal(std::move(answer), triesLeft - 1);
            return;
        }
        answer(modal);
    });
}

// What the input box showed, and the answer given to it.
struct InputBoxSeen {
    QString Title;
    QString Label;
    QString InitialText;
};

InputBoxSeen TypeIntoAddTypes(TFrame_FileFilter& frame, const QString& line, bool confirm = true) {
    InputBoxSeen seen;
    OnNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QInputDialog*>(modal);
        if (box == nullptr) {
            if (modal != nullptr) {
                modal->close();
            }
            return;
        }
        seen = {box->windowTitle(), box->labelText(), box->textValue()};
        box->setTextValue(line);
        confirm ? box->accept() : box->reject();
    });
    frame.Button_AddType->click();
    return seen;
}

QStringList Captions(const TFrame_FileFilter& frame) {
    QStringList captions;
    for (int i = 0; i < frame.ListView_Types->topLevelItemCount(); ++i) {
        captions << frame.ListView_Types->topLevelItem(i)->text(0);
    }
    return captions;
}

QTreeWidgetItem* RowOf(const TFrame_FileFilter& frame, const QString& caption) {
    const auto found = frame.ListView_Types->findItems(caption, Qt::MatchExactly, 0);
    return found.isEmpty() ? nullptr : found.front();
}

void SelectType(TFrame_FileFilter& frame, const QString& caption) {
    frame.ListView_Types->setCurrentItem(RowOf(frame, caption));
}

std::vector<std::string> Types(std::initializer_list<const char*> types) {
    return {types.begin(), types.end()};
}

// A distinct colour for every extension, so that a row showing another row's icon is seen.
QRgb ColourOf(const QString& extension) {
    return QColor::fromHsv(static_cast<int>(qHash(extension) % 360), 255, 255).rgb();
}

// A desktop whose type lookup gives coloured squares and "Typ <extension>".
struct ColouredTypes : test::DesktopRecorder {
    ColouredTypes() {
        TypeInfo = [](const QString& extension) {
            QPixmap square(16, 16);
            square.fill(ColourOf(extension));
            return cShellTypeInfo{QStringLiteral("Typ ") + extension, QIcon(square)};
        };
    }
};

QRgb ShownColour(const QTreeWidgetItem* row) {
    return row->icon(0).pixmap(16, 16).toImage().pixel(8, 8);
}

// Day number of 15 March 2024 (days since 30 December 1899).
constexpr double kDay_2024_03_15 = 45366.0;
const QDate k2024_03_15(2024, 3, 15);

}  // namespace

class TestTFrame_FileFilter : public QObject {
    Q_OBJECT

private slots:
    void startsEmptyWithItsCriteriaAndCaptions() {
        TFrame_FileFilter frame(desktop_);
        QCOMPARE(frame.ListBox->count(), 5);
        const QStringList criteria{"Dateitypen", "Dateiattribute", "Dateidatum", "Dateigröße", "Maske"};
        for (int i = 0; i < criteria.size(); ++i) {
            QCOMPARE(frame.ListBox->item(i)->text(), criteria[i]);
        }
        QCOMPARE(frame.ListBox->width(), 121);
        QCOMPARE(frame.PageControl->count(), 5);
        QCOMPARE(frame.RadioButton_AllNoTypes->text(), QStringLiteral("Alle Dateitypen"));
        QVERIFY(frame.RadioButton_AllNoTypes->isChecked());
        QVERIFY(!frame.Button_DelType->isEnabled());
        QCOMPARE(frame.ComboBox_Size2->currentText(), QStringLiteral("Byte"));
        cFileFilter taken(false);
        taken.Dates[1].EarlierThan = 5.0;
        frame.GetFilter(taken);
        QVERIFY(taken == cFileFilter(false));  // a new frame holds a new filter's criteria
    }

    void choosingACriterionShowsItsPage() {
        TFrame_FileFilter frame(desktop_);
        for (int i = 4; i >= 0; --i) {
            frame.ListBox->setCurrentRow(i);
            QCOMPARE(frame.PageControl->currentIndex(), i);
        }
        frame.ListBox->setCurrentRow(3);
        frame.ResetFilter(false);
        QCOMPARE(frame.ListBox->currentRow(), 0);
        QCOMPARE(frame.PageControl->currentIndex(), 0);
    }

    void firstTypeChoiceIsNamedByTheFilterRole() {
        TFrame_FileFilter frame(desktop_);
        cFileFilter exclude(true);
        frame.SetFilter(exclude);
        QCOMPARE(frame.RadioButton_AllNoTypes->text(), QStringLiteral("Keine Dateitypen"));
        QVERIFY(frame.RadioButton_AllNoTypes->isChecked());
        frame.RadioButton_DefTypes->click();
        frame.GetFilter(exclude);
        QVERIFY(!exclude.AllNoTypes);  // both roles keep the choice in the same flag

        cFileFilter include(false);
        frame.AttachFilter(include);
        QCOMPARE(frame.RadioButton_AllNoTypes->text(), QStringLiteral("Alle Dateitypen"));
        frame.SetFilter(exclude);
        QVERIFY(frame.RadioButton_DefTypes->isChecked());
    }

    void everyCriterionRoundTrips() {
        ColouredTypes types;
        cFileFilter shown(true);
        shown.AllNoTypes = false;
        shown.Types = Types({".DOC", ".HTM", ".TXT"});
        shown.Attributes = kAttrReadOnly | kAttrArchive;
        shown.Dates[0] = {kDay_2024_03_15, 0.0};
        shown.Dates[1] = {0.0, kDay_2024_03_15 + 10};
        shown.Size1 = {true, 3221225472ull};
        shown.Size2 = {false, 1536};
        shown.Mask = "Brief*.txt;*.döc";
        TFrame_FileFilter frame(types);
        frame.SetFilter(shown);
        QCOMPARE(frame.ListView_Types->topLevelItem(0)->text(1), QStringLiteral("Typ DOC"));

        cFileFilter taken(true);
        frame.GetFilter(taken);
        QVERIFY(taken == shown);
    }

    void attributeItemsMapOntoTheirBits() {
        TFrame_FileFilter frame(desktop_);
        const QStringList captions{"Schreibgeschützt", "Versteckt", "System", "Archiv"};
        const std::uint8_t bits[] = {kAttrReadOnly, kAttrHidden, kAttrSystem, kAttrArchive};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(frame.CheckListBox_Attributes->item(i)->text(), captions[i]);
            cFileFilter shown(false);
            shown.Attributes = bits[i];
            frame.SetFilter(shown);
            for (int j = 0; j < 4; ++j) {
                QCOMPARE(frame.CheckListBox_Attributes->item(j)->checkState() == Qt::Checked, i == j);
            }
        }
        frame.CheckListBox_Attributes->item(1)->setCheckState(Qt::Checked);
        cFileFilter taken(false);
        taken.Attributes = 0xFF;
        frame.GetFilter(taken);
        QCOMPARE(int{taken.Attributes}, kAttrHidden | kAttrArchive);  // directory and other bits cleared
    }

    void storedSizesShowInTheLargestWholeUnit_data() {
        QTest::addColumn<quint64>("bytes");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("unit");
        QTest::newRow("0") << quint64{0} << 0 << "Byte";
        QTest::newRow("1536") << quint64{1536} << 1536 << "Byte";
        QTest::newRow("8192") << quint64{8192} << 8 << "KB";
        QTest::newRow("3 MB") << quint64{3145728} << 3 << "MB";
        QTest::newRow("3 GB") << quint64{3221225472ull} << 3 << "GB";
        QTest::newRow("8192 GB, beyond the box") << (quint64{8192} << 30) << 8191 << "GB";
    }

    void storedSizesShowInTheLargestWholeUnit() {
        QFETCH(quint64, bytes);
        QFETCH(int, number);
        QFETCH(QString, unit);
        cFileFilter shown(false);
        shown.Size1 = {true, 5};
        shown.Size2 = {true, bytes};
        TFrame_FileFilter frame(desktop_);
        frame.SetFilter(shown);
        QCOMPARE(frame.SpinEdit_Size2->value(), number);
        QCOMPARE(frame.ComboBox_Size2->currentText(), unit);
        QVERIFY(frame.CheckBox_Size2->isChecked());
    }

    void sizesAreStoredAsNumberTimesUnit() {
        TFrame_FileFilter frame(desktop_);
        frame.CheckBox_Size1->setChecked(true);
        frame.SpinEdit_Size1->setValue(0);
        frame.ComboBox_Size1->setCurrentIndex(1);
        frame.SpinEdit_Size2->setValue(8191);
        frame.ComboBox_Size2->setCurrentIndex(3);
        cFileFilter taken(false);
        frame.GetFilter(taken);
        QCOMPARE(taken.Size1.Enabled, true);
        QCOMPARE(taken.Size1.Bytes, std::uint64_t{0});
        QCOMPARE(taken.Size2.Enabled, false);
        QCOMPARE(taken.Size2.Bytes, std::uint64_t{8795019280384ull});  // 8191 GB needs 64 bits

        frame.SpinEdit_Size1->setValue(3);
        frame.ComboBox_Size1->setCurrentIndex(3);
        frame.GetFilter(taken);
        QCOMPARE(taken.Size1.Bytes, std::uint64_t{3221225472ull});
    }

    void theFrameChangesAFilterOnlyInGetFilter() {
        ColouredTypes types;
        cFileFilter filter(false);
        filter.AllNoTypes = false;
        filter.Types = Types({".TXT"});
        filter.Dates[0].LaterThan = kDay_2024_03_15;
        filter.Mask = "*.txt";
        const cFileFilter before(filter);
        TFrame_FileFilter frame(types);
        frame.SetFilter(filter);
        frame.RadioButton_AllNoTypes->click();
        frame.AddTypeItem(QStringLiteral("DOC"));
        frame.CheckListBox_Attributes->item(2)->setCheckState(Qt::Checked);
        frame.CheckBox_LaterThan->click();
        frame.ComboBox_Time->setCurrentIndex(1);
        frame.CheckBox_EarlierThan->click();
        frame.CheckBox_Size1->click();
        frame.Edit_Mask->setText(QStringLiteral("*.doc"));
        frame.ResetFilter(true);
        QVERIFY(filter == before);
    }

    void splittingTheTypedLine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("semicolons and blanks") << "txt; .Doc;;htm" << QStringList{"txt", ".Doc", "", "htm"};
        QTest::newRow("blanks separate") << "  txt   TXT  " << QStringList{"txt", "TXT"};
        QTest::newRow("tab and blank before ;") << "a\t ;b" << QStringList{"a", "b"};
        QTest::newRow("blank between two ;") << "a; ;b" << QStringList{"a", "", "b"};
        QTest::newRow("; at the end") << "a;" << QStringList{"a", ""};
        QTest::newRow("only ;") << ";" << QStringList{"", ""};
        QTest::newRow("quoted") << "\"my file;x\";\"a\"\"b\"" << QStringList{"my file;x", "a\"b"};
        QTest::newRow("quote then text") << "\"a b\"c" << QStringList{"a b", "c"};
        QTest::newRow("unclosed quote") << "x \"a b" << QStringList{"x", "a b"};
        QTest::newRow("empty line") << "" << QStringList{};
    }

    void splittingTheTypedLine() {
        QFETCH(QString, line);
        QFETCH(QStringList, parts);
        QCOMPARE(SplitExtensionInput(line), parts);
    }

    void typedExtensionsAreAddedOnce_data() {
        QTest::addColumn<QStringList>("loaded");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("semicolons, dot, empty part")
            << QStringList{} << "txt; .Doc;;htm" << QStringList{"DOC", "HTM", "TXT"};
        QTest::newRow("same extension twice") << QStringList{} << "txt TXT" << QStringList{"TXT"};
        QTest::newRow("listed in lower case")
            << QStringList{".txt"} << "TXT;doc" << QStringList{"DOC", "txt"};
        QTest::newRow("no further test") << QStringList{} << "*.doc ..bak" << QStringList{"*.DOC", ".BAK"};
        QTest::newRow("quoted with a blank") << QStringList{} << "\"tar gz\"" << QStringList{"TAR GZ"};
        QTest::newRow("ASCII letters only") << QStringList{} << "äbc" << QStringList{"äBC"};
        QTest::newRow("nothing that makes an extension")
            << QStringList{".txt"} << " ; . ;" << QStringList{"txt"};
    }

    void typedExtensionsAreAddedOnce() {
        QFETCH(QStringList, loaded);
        QFETCH(QString, line);
        QFETCH(QStringList, rows);
        ColouredTypes types;
        cFileFilter shown(false);
        for (const QString& type : loaded) {
            shown.Types.push_back(type.toStdString());
        }
        TFrame_FileFilter frame(types);
        frame.SetFilter(shown);
        const InputBoxSeen seen = TypeIntoAddTypes(frame, line);
        QCOMPARE(seen.Title, QStringLiteral("Dateitypen hinzufügen"));
        QCOMPARE(
            seen.Label,
            QStringLiteral(
                "Geben Sie eine oder - durch Semikolons getrennt - mehrere Dateinamenserweiterungen an."));
        QCOMPARE(seen.InitialText, QString());
        QCOMPARE(Captions(frame), rows);
        QCOMPARE(frame.TypeImages().size(), rows.size());
    }

    void cancellingTheInputBoxAddsNothing() {
        TFrame_FileFilter frame(desktop_);
        TypeIntoAddTypes(frame, QStringLiteral("txt"), false);
        QCOMPARE(frame.ListView_Types->topLevelItemCount(), 0);
        TypeIntoAddTypes(frame, QString());
        QCOMPARE(frame.ListView_Types->topLevelItemCount(), 0);
    }

    void typesAreStoredInCaptionOrder() {
        ColouredTypes types;
        TFrame_FileFilter frame(types);
        for (const char* extension : {"ZIP", "doc", "BMP", "DOC", "a"}) {
            frame.AddTypeItem(QString::fromLatin1(extension));
        }
        cFileFilter taken(false);
        frame.GetFilter(taken);
        QCOMPARE(taken.Types, Types({".a", ".BMP", ".DOC", ".doc", ".ZIP"}));
    }

    void removingRowsKeepsEveryIconRight() {
        ColouredTypes types;
        TFrame_FileFilter frame(types);
        for (const char* extension : {"PDF", "BMP", "ZIP", "DOC", "TXT"}) {
            frame.AddTypeItem(QString::fromLatin1(extension));
        }
        QVERIFY(!frame.Button_DelType->isEnabled());
        for (const char* removed : {"ZIP", "BMP", "TXT"}) {
            SelectType(frame, QString::fromLatin1(removed));
            QVERIFY(frame.Button_DelType->isEnabled());
            frame.Button_DelType->click();
            // The list moves the selection on to a neighbour; "Entfernen" goes with what is shown.
            QVERIFY(!frame.ListView_Types->selectedItems().isEmpty());
            QVERIFY(frame.Button_DelType->isEnabled());
            QVERIFY(RowOf(frame, QString::fromLatin1(removed)) == nullptr);
            QCOMPARE(frame.TypeImages().size(), frame.ListView_Types->topLevelItemCount());
            for (int i = 0; i < frame.ListView_Types->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* row = frame.ListView_Types->topLevelItem(i);
                QCOMPARE(ShownColour(row), ColourOf(row->text(0)));
                const QIcon& image = frame.TypeImages().at(TFrame_FileFilter::ImageIndexOf(row));
                QCOMPARE(image.pixmap(16, 16).toImage().pixel(8, 8), ColourOf(row->text(0)));
                QCOMPARE(row->text(1), QStringLiteral("Typ ") + row->text(0));
            }
        }
        QCOMPARE(Captions(frame), (QStringList{"DOC", "PDF"}));
    }

    void theRowSelectedAfterARemovalCanBeRemovedAtOnce() {
        ColouredTypes types;
        TFrame_FileFilter frame(types);
        for (const char* extension : {"BMP", "DOC", "PDF"}) {
            frame.AddTypeItem(QString::fromLatin1(extension));
        }
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        SelectType(frame, QStringLiteral("BMP"));
        QTest::mouseClick(frame.Button_DelType, Qt::LeftButton);
        QCOMPARE(Captions(frame), (QStringList{"DOC", "PDF"}));
        QCOMPARE(frame.ListView_Types->selectedItems().value(0), RowOf(frame, QStringLiteral("DOC")));
        QTest::mouseClick(frame.Button_DelType, Qt::LeftButton);  // a disabled button would ignore it
        QCOMPARE(Captions(frame), QStringList{"PDF"});
        QTest::mouseClick(frame.Button_DelType, Qt::LeftButton);
        QVERIFY(Captions(frame).isEmpty());
        QVERIFY(!frame.Button_DelType->isEnabled());
    }

    void typeNameAndIconComeFromTheMimeDatabase() {
        TFrame_FileFilter frame(desktop_);
        frame.AddTypeItem(QStringLiteral("TXT"));
        frame.AddTypeItem(QStringLiteral("QQZXV"));
        const QMimeDatabase database;
        QCOMPARE(RowOf(frame, QStringLiteral("TXT"))->text(1),
                 database.mimeTypeForName("text/plain").comment());
        QCOMPARE(RowOf(frame, QStringLiteral("QQZXV"))->text(1),
                 database.mimeTypeForName("application/octet-stream").comment());
        QVERIFY(!RowOf(frame, QStringLiteral("QQZXV"))->icon(0).isNull());
    }

    void draggingMovesAnExtensionBetweenTwoFrames() {
        ColouredTypes types;
        QWidget window;
        auto* include = new TFrame_FileFilter(types, &window);
        auto* exclude = new TFrame_FileFilter(types, &window);
        cFileFilter in(false);
        in.Types = Types({".DOC", ".TXT", ".ZIP"});
        cFileFilter out(true);
        out.Types = Types({".doc"});
        include->SetFilter(in);
        exclude->SetFilter(out);

        QVERIFY(exclude->ListView_TypesDragOver(include->ListView_Types));
        QVERIFY(include->ListView_TypesDragOver(exclude->ListView_Types));
        QVERIFY(!include->ListView_TypesDragOver(include->ListView_Types));  // never onto itself
        QVERIFY(!include->ListView_TypesDragOver(exclude->CheckListBox_Attributes));
        QVERIFY(!include->ListView_TypesDragOver(nullptr));  // from outside the program

        SelectType(*include, QStringLiteral("TXT"));
        exclude->ListView_TypesDragDrop(include->ListView_Types);
        QCOMPARE(Captions(*include), (QStringList{"DOC", "ZIP"}));
        QCOMPARE(Captions(*exclude), (QStringList{"doc", "TXT"}));
        QCOMPARE(include->Button_DelType->isEnabled(), !include->ListView_Types->selectedItems().isEmpty());
        QCOMPARE(ShownColour(RowOf(*exclude, QStringLiteral("TXT"))), ColourOf(QStringLiteral("TXT")));
        QCOMPARE(ShownColour(RowOf(*include, QStringLiteral("ZIP"))), ColourOf(QStringLiteral("ZIP")));

        // Already listed there: only removed here.
        SelectType(*include, QStringLiteral("DOC"));
        exclude->ListView_TypesDragDrop(include->ListView_Types);
        QCOMPARE(Captions(*include), (QStringList{"ZIP"}));
        QCOMPARE(Captions(*exclude), (QStringList{"doc", "TXT"}));

        SelectType(*include, QStringLiteral("ZIP"));
        include->ListView_TypesDragDrop(include->ListView_Types);
        QCOMPARE(Captions(*include), (QStringList{"ZIP"}));

        // And back the other way.
        SelectType(*exclude, QStringLiteral("TXT"));
        include->ListView_TypesDragDrop(exclude->ListView_Types);
        QCOMPARE(Captions(*include), (QStringList{"TXT", "ZIP"}));
        QCOMPARE(Captions(*exclude), (QStringList{"doc"}));
    }

    void dropsFromOutsideAreRefused() {
        ColouredTypes types;
        TFrame_FileFilter frame(types);
        frame.AddTypeItem(QStringLiteral("TXT"));
        frame.resize(400, 200);
        QMimeData data;
        data.setText(QStringLiteral("PDF"));
        const QPoint inside = frame.ListView_Types->viewport()->rect().center();
        QDragEnterEvent enter(inside, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame.ListView_Types->viewport(), &enter);
        QVERIFY(!enter.isAccepted());
        QDropEvent drop(QPointF(inside), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                        Qt::NoModifier);
        QApplication::sendEvent(frame.ListView_Types->viewport(), &drop);
        QVERIFY(!drop.isAccepted());
        QCOMPARE(Captions(frame), QStringList{"TXT"});
    }

    void dateBoundsAreAWorkingCopyPerFileTime() {
        const QDate today = QDate::currentDate();
        TFrame_FileFilter frame(desktop_);
        cFileFilter filter(false);
        frame.SetFilter(filter);
        QVERIFY(!frame.CheckBox_LaterThan->isChecked());
        QVERIFY(!frame.CheckBox_EarlierThan->isChecked());
        QCOMPARE(frame.DateTimePicker_LaterThan->date(), today.addDays(-1));
        QCOMPARE(frame.DateTimePicker_EarlierThan->date(), today);

        // Picking while unticked sets nothing; ticking takes the picked day.
        frame.DateTimePicker_LaterThan->setDate(k2024_03_15);
        frame.GetFilter(filter);
        QCOMPARE(filter.Dates[0].LaterThan, 0.0);
        frame.CheckBox_LaterThan->click();
        frame.GetFilter(filter);
        QCOMPARE(filter.Dates[0].LaterThan, kDay_2024_03_15);

        frame.ComboBox_Time->setCurrentIndex(1);
        QVERIFY(!frame.CheckBox_LaterThan->isChecked());
        QVERIFY(!frame.CheckBox_EarlierThan->isChecked());
        QCOMPARE(frame.DateTimePicker_LaterThan->date(), today.addDays(-1));
        QCOMPARE(frame.DateTimePicker_EarlierThan->date(), today);
        frame.CheckBox_EarlierThan->click();
        frame.DateTimePicker_EarlierThan->setDate(k2024_03_15.addDays(1));

        frame.ComboBox_Time->setCurrentIndex(0);
        QVERIFY(frame.CheckBox_LaterThan->isChecked());
        QVERIFY(!frame.CheckBox_EarlierThan->isChecked());
        QCOMPARE(frame.DateTimePicker_LaterThan->date(), k2024_03_15);
        frame.GetFilter(filter);
        QCOMPARE(filter.Dates[0].LaterThan, kDay_2024_03_15);
        QCOMPARE(filter.Dates[0].EarlierThan, 0.0);
        QCOMPARE(filter.Dates[1].LaterThan, 0.0);
        QCOMPARE(filter.Dates[1].EarlierThan, kDay_2024_03_15 + 1);

        frame.CheckBox_LaterThan->click();  // unticking switches the bound off
        frame.GetFilter(filter);
        QCOMPARE(filter.Dates[0].LaterThan, 0.0);
    }

    void showingBoundsChangesNone() {
        cFileFilter attached(true);
        attached.Dates[0] = {kDay_2024_03_15 + 0.75, 0.0};  // a fraction only a foreign file holds
        attached.Dates[1] = {kDay_2024_03_15, kDay_2024_03_15 + 30};
        TFrame_FileFilter frame(desktop_);
        frame.ComboBox_Time->setCurrentIndex(1);
        frame.AttachFilter(attached);
        QVERIFY(frame.CheckBox_LaterThan->isChecked());
        QCOMPARE(frame.DateTimePicker_EarlierThan->date(), k2024_03_15.addDays(30));
        frame.ComboBox_Time->setCurrentIndex(0);
        QCOMPARE(frame.DateTimePicker_LaterThan->date(), k2024_03_15);
        cFileFilter taken(true);
        frame.GetFilter(taken);
        QCOMPARE(taken.Dates[0].LaterThan, attached.Dates[0].LaterThan);
        QCOMPARE(taken.Dates[1].LaterThan, attached.Dates[1].LaterThan);
        QCOMPARE(taken.Dates[1].EarlierThan, attached.Dates[1].EarlierThan);
    }

    void resetClearsTypesAlwaysAndTheRestOnlyWhenFull() {
        ColouredTypes types;
        cFileFilter shown(false);
        shown.AllNoTypes = false;
        shown.Types = Types({".TXT"});
        shown.Attributes = kAttrHidden;
        shown.Dates[1].EarlierThan = kDay_2024_03_15;
        shown.Size1 = {true, 2048};
        shown.Mask = "*.txt";
        TFrame_FileFilter frame(types);
        frame.SetFilter(shown);
        frame.ComboBox_Time->setCurrentIndex(1);

        frame.ResetFilter(false);
        QCOMPARE(frame.ComboBox_Time->currentIndex(), 0);
        cFileFilter taken(false);
        frame.GetFilter(taken);
        QVERIFY(taken.AllNoTypes);
        QVERIFY(taken.Types.empty());
        QVERIFY(frame.TypeImages().isEmpty());
        QCOMPARE(int{taken.Attributes}, 0);
        QCOMPARE(taken.Dates[1].EarlierThan, kDay_2024_03_15);
        QCOMPARE(taken.Size1.Bytes, std::uint64_t{2048});
        QCOMPARE(taken.Mask, std::string("*.txt"));

        frame.ResetFilter(true);
        frame.GetFilter(taken);
        QVERIFY(taken == cFileFilter(false));
        QCOMPARE(frame.ComboBox_Size1->currentText(), QStringLiteral("Byte"));
    }

    void theQuestionMarkExplainsMasks() {
        TFrame_FileFilter frame(desktop_);
        QCOMPARE(frame.Label_MaskInfo->text(), QStringLiteral("?"));

        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        OnNextModal([&](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                title = box->windowTitle();
                text = box->text();
                icon = box->icon();
            }
            if (modal != nullptr) {
                modal->close();
            }
        });
        QTest::mouseClick(frame.Label_MaskInfo, Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Maske"));
        QCOMPARE(icon, QMessageBox::Information);
        QCOMPARE(text,
                 QStringLiteral(
                     "Hier können Sie eine oder - durch \";\" getrennt - mehrere Masken angeben. Es werden "
                     "alle Dateien eingebunden, deren Name mindestens einer der hier angegebenen Masken "
                     "entspricht.\nDie Platzhalter \"*\" (beliebige Anzahl von beliebigen Zeichen) und \"?\" "
                     "(ein beliebiges Zeichen) sind erlaubt.\nLassen Sie das Feld frei, um alle Dateien zu "
                     "berücksichtigen und keine Maske zu verwenden.\n\nBeispiel:\n\"Brief*.txt\" findet alle "
                     "Dateien, die mit \"Brief\" beginnen und mit \".txt\" enden."));
    }

    void everyCriterionShowsTheProgramIcon() {
        TFrame_FileFilter frame(desktop_);
        QVERIFY(!frame.MainIcon().isNull());  // the style's file icon until the program hands in its own
        QPixmap red(16, 16);
        red.fill(Qt::red);
        frame.SetMainIcon(QIcon(red));
        frame.resize(400, 200);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.ListBox->setCurrentRow(2);
        const QImage drawn = frame.ListBox->viewport()->grab().toImage();
        for (int i = 0; i < frame.ListBox->count(); ++i) {
            const QRect item = frame.ListBox->visualItemRect(frame.ListBox->item(i));
            QCOMPARE(item.height(), TCriteriaDelegate::ItemHeight(frame.ListBox->font()));
            QCOMPARE(drawn.pixelColor(item.left() + 2 + 8, item.top() + 10), QColor(Qt::red));
            QVERIFY(drawn.pixelColor(item.left() + 1, item.top() + 10) != QColor(Qt::red));
        }
    }

private:
    test::DesktopRecorder desktop_;  // the real type names and icons
};

QTEST_MAIN(TestTFrame_FileFilter)
#include "tst_TFrame_FileFilter.moc"
