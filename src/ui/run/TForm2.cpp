// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/run/TForm2.h"

#include "engine/RunController.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "platform/TerminationSignals.h"
#include "ui/common/CaptionWidth.h"
#include "ui/common/CentreOnScreen.h"
#include "ui/common/CommaText.h"
#include "ui/common/ErrorMessage.h"
#include "ui/common/FixedDialogFrame.h"
#include "ui/common/MinimizeName.h"
#include "ui/common/ModelText.h"
#include "ui/common/ProjectMessages.h"
#include "ui/run/CommandLauncher.h"
#include "ui/run/ProtocolViewer.h"
#include "ui/run/ReleaseConfirmation.h"
#include "ui/run/AfterRunActions.h"
#include "ui/run/RunOutcomeText.h"
#include "ui/run/SleepInhibitor.h"
#include "ui/run/SystemShutdown.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

namespace trx {

namespace {

// The path labels' widths in a font as small as the one they were first drawn for; a larger desktop font
// widens them so that the longest line of the end of a run fits in bold.
constexpr int kMainLabelWidth = 249;
constexpr int kSubLabelIndent = 16;
constexpr int kIconSize = 32;

int MainLabelWidth(const QFont& font) {
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    int widest = 0;
    for (const char* headline :
         {"Der Sicherungsvorgang wurde abgebrochen.", "Die Sicherung ist mit Problemen beendet.",
          "Die Sicherung ist abgeschlossen."}) {
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromUtf8(headline)));
    }
    return std::max(kMainLabelWidth, widest + 2 * metrics.averageCharWidth());
}

// A label whose text never resizes the window: paths are shortened to its width, file names clipped.
QLabel* FixedLabel(QWidget* parent, const char* name, int width, bool bold) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);  // an ampersand or "<" in a path is a plain character
    if (width > 0) {
        label->setFixedWidth(width);
    } else {
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

QLineEdit* ReadOnlyEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setBackgroundRole(QPalette::Window);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
    return edit;
}

int InnerWidth(const QProgressBar* bar) {
    return std::max(1, bar->contentsRect().width());
}

}  // namespace

TForm2::TForm2(cProject& project, const cRunWindowServices& services, QWidget* parent)
    : QDialog(parent),
      EndApplication([] { QCoreApplication::exit(0); }),
      project_(project),
      services_(services),
      controller_(std::make_unique<cRunController>(project, static_cast<cRunView&>(*this), services.Fs,
                                                   services.Formats)),
      icons_(std::make_unique<QFileIconProvider>()),
      lastRun_(std::make_unique<cRunResult>()) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Status"));
    UseFixedDialogFrame(*this, true);
    BuildLayout();

    Timer_Backup = new QTimer(this);
    Timer_Backup->setObjectName(QStringLiteral("Timer_Backup"));
    Timer_Backup->setInterval(1);
    connect(Timer_Backup, &QTimer::timeout, this, &TForm2::doBackUp);
    Timer_ShowTime = new QTimer(this);
    Timer_ShowTime->setObjectName(QStringLiteral("Timer_ShowTime"));
    Timer_ShowTime->setInterval(1000);
    connect(Timer_ShowTime, &QTimer::timeout, this, &TForm2::Timer_ShowTimeTimer);

    connect(Button_Cancel, &QPushButton::clicked, this, &TForm2::Button_CancelClick);
    connect(Button_Protocol, &QPushButton::clicked, this, &TForm2::Button_ProtocolClick);
    connect(Button_ReleaseHeldBack, &QPushButton::clicked, this, &TForm2::Button_ReleaseHeldBackClick);
    connect(ComboBox_AfterFinishing, &QComboBox::currentIndexChanged, this, &TForm2::TakeAfterFinishing);
    connect(ComboBox_AfterFinishing, &QComboBox::activated, this, &TForm2::ComboBox_AfterFinishingClick);

    // The engine hands events to the window between entries and chunks, so that the window repaints and
    // "Abbrechen" is heard during a run.
    controller_->SetPumpHook([] { QCoreApplication::processEvents(); });
}

TForm2::~TForm2() = default;

void TForm2::BuildLayout() {
    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);  // fixed border: the window is as large as its contents
    top->addWidget(BuildProjectGroup());
    top->addWidget(BuildStatusGroup());
    top->addWidget(BuildActionGroup());

    auto* buttons = new QHBoxLayout;
    Button_Protocol = new QPushButton(QStringLiteral("Protokoll anzeigen"), this);
    Button_Protocol->setObjectName(QStringLiteral("Button_Protocol"));
    Button_Protocol->setAutoDefault(false);
    Button_Cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    Button_Cancel->setObjectName(QStringLiteral("Button_Cancel"));
    Button_Cancel->setAutoDefault(false);
    buttons->addWidget(Button_Protocol);
    buttons->addStretch();
    buttons->addWidget(Button_Cancel);
    top->addLayout(buttons);
}

QWidget* TForm2::BuildProjectGroup() {
    auto* projectGroup = new QGroupBox(QStringLiteral("Tresorix-Projekt"), this);
    auto* projectGrid = new QGridLayout(projectGroup);
    Edit_File = ReadOnlyEdit(projectGroup, "Edit_File");
    Edit_Description = ReadOnlyEdit(projectGroup, "Edit_Description");
    Memo_Comments = new QPlainTextEdit(projectGroup);
    Memo_Comments->setObjectName(QStringLiteral("Memo_Comments"));
    Memo_Comments->setReadOnly(true);
    Memo_Comments->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo_Comments->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo_Comments->setBackgroundRole(QPalette::Window);
    {
        QPalette palette = Memo_Comments->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        Memo_Comments->setPalette(palette);
    }
    Memo_Comments->setFixedHeight(Memo_Comments->fontMetrics().lineSpacing() * 3 + 10);
    projectGrid->addWidget(new QLabel(QStringLiteral("Datei:"), projectGroup), 0, 0);
    projectGrid->addWidget(Edit_File, 0, 1);
    projectGrid->addWidget(new QLabel(QStringLiteral("Bezeichnung:"), projectGroup), 1, 0);
    projectGrid->addWidget(Edit_Description, 1, 1);
    projectGrid->addWidget(new QLabel(QStringLiteral("Kommentare:"), projectGroup), 2, 0, Qt::AlignTop);
    projectGrid->addWidget(Memo_Comments, 2, 1);
    return projectGroup;
}

QWidget* TForm2::BuildStatusGroup() {
    auto* statusGroup = new QGroupBox(QStringLiteral("BackUp-Status"), this);
    auto* status = new QGridLayout(statusGroup);
    Image_Folder = new QLabel(statusGroup);
    Image_Folder->setObjectName(QStringLiteral("Image_Folder"));
    Image_Folder->setFixedSize(kIconSize, kIconSize);
    const int mainWidth = MainLabelWidth(font());
    Label_MainSource = FixedLabel(statusGroup, "Label_MainSource", mainWidth, true);
    Label_SubSource = FixedLabel(statusGroup, "Label_SubSource", mainWidth - kSubLabelIndent, false);
    Label_Arrows = FixedLabel(statusGroup, "Label_Arrows", 0, false);
    Label_Arrows->setText(QStringLiteral(">>>"));
    Label_Arrows->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    {
        QSizePolicy keep = Label_Arrows->sizePolicy();
        keep.setRetainSizeWhenHidden(true);  // hiding the arrows must not move the labels
        Label_Arrows->setSizePolicy(keep);
    }
    Label_MainDestination = FixedLabel(statusGroup, "Label_MainDestination", mainWidth, true);
    Label_File = FixedLabel(statusGroup, "Label_File", 0, false);
    Label10 = new QLabel(QStringLiteral("Dateifortschritt:"), statusGroup);
    Label10->setObjectName(QStringLiteral("Label10"));
    ProgressBar_File = new QProgressBar(statusGroup);
    ProgressBar_File->setObjectName(QStringLiteral("ProgressBar_File"));
    ProgressBar_File->setTextVisible(false);
    ProgressBar = new QProgressBar(statusGroup);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setTextVisible(false);

    auto* subRow = new QHBoxLayout;
    subRow->addSpacing(kSubLabelIndent);
    subRow->addWidget(Label_SubSource);
    subRow->addStretch();
    status->addWidget(Image_Folder, 0, 0, 2, 1, Qt::AlignCenter);
    status->addWidget(Label_MainSource, 0, 1);
    status->addLayout(subRow, 1, 1);
    status->addWidget(Label_Arrows, 2, 0);
    status->addWidget(Label_MainDestination, 2, 1);
    // Takes the place of the sub-folder and destination lines, which are empty at the end of a run.
    status->addWidget(BuildResultPanel(statusGroup), 1, 1, 2, 1);
    status->addWidget(Label_File, 3, 0, 1, 2);
    status->addWidget(Label10, 4, 0, 1, 2);
    status->addWidget(ProgressBar_File, 5, 0, 1, 2);
    status->addWidget(new QLabel(QStringLiteral("Gesamtfortschritt:"), statusGroup), 6, 0, 1, 2);
    status->addWidget(ProgressBar, 7, 0, 1, 2);
    status->addWidget(BuildTimesBox(statusGroup), 8, 0, 1, 2);
    return statusGroup;
}

QWidget* TForm2::BuildTimesBox(QWidget* parent) {
    auto* timesBox = new QFrame(parent);
    timesBox->setFrameShape(QFrame::StyledPanel);
    auto* times = new QGridLayout(timesBox);
    auto value = [timesBox](const char* name) {
        QLabel* label = FixedLabel(timesBox, name, 0, true);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return label;
    };
    Label_TimeElapsed = value("Label_TimeElapsed");
    Label_TimeRest = value("Label_TimeRest");
    Label_FilesCompared = value("Label_FilesCompared");
    Label_FilesCopied = value("Label_FilesCopied");
    times->addWidget(new QLabel(QStringLiteral("Verstrichene Zeit:"), timesBox), 0, 0);
    times->addWidget(Label_TimeElapsed, 0, 1);
    times->addWidget(new QLabel(QStringLiteral("Ungefähre Restdauer:"), timesBox), 1, 0);
    times->addWidget(Label_TimeRest, 1, 1);
    times->addWidget(new QLabel(QStringLiteral("Verglichene Dateien:"), timesBox), 2, 0);
    times->addWidget(Label_FilesCompared, 2, 1);
    times->addWidget(new QLabel(QStringLiteral("Kopierte Dateien:"), timesBox), 3, 0);
    times->addWidget(Label_FilesCopied, 3, 1);
    times->setColumnStretch(1, 1);
    return timesBox;
}

QWidget* TForm2::BuildActionGroup() {
    auto* actionGroup = new QGroupBox(QStringLiteral("Aktion nach dem Ende des Sicherungsvorgangs"), this);
    auto* actionRow = new QHBoxLayout(actionGroup);
    ComboBox_AfterFinishing = new QComboBox(actionGroup);
    ComboBox_AfterFinishing->setObjectName(QStringLiteral("ComboBox_AfterFinishing"));
    // In the order of AfterFinishing, whose value is the item's index.
    ComboBox_AfterFinishing->addItems({QStringLiteral("Keine Aktion"),
                                       QStringLiteral("Computer herunterfahren"),
                                       QStringLiteral("Befehl ausführen")});
    ComboBox_AfterFinishing->setCurrentIndex(static_cast<int>(AfterFinishing::None));
    actionRow->addWidget(ComboBox_AfterFinishing);
    return actionGroup;
}

QWidget* TForm2::BuildResultPanel(QWidget* parent) {
    Panel_Result = new QWidget(parent);
    Panel_Result->setObjectName(QStringLiteral("Panel_Result"));
    auto* column = new QVBoxLayout(Panel_Result);
    column->setContentsMargins(0, 0, 0, 0);
    Label_Result = new QLabel(Panel_Result);
    Label_Result->setObjectName(QStringLiteral("Label_Result"));
    Label_Result->setTextFormat(Qt::PlainText);
    Label_Result->setWordWrap(true);
    Label_Result->setTextInteractionFlags(Qt::TextSelectableByMouse);  // paths can be copied
    Button_ReleaseHeldBack = new QPushButton(QStringLiteral("Zurückgehaltenes ausführen …"), Panel_Result);
    Button_ReleaseHeldBack->setObjectName(QStringLiteral("Button_ReleaseHeldBack"));
    Button_ReleaseHeldBack->setAutoDefault(false);  // never what Enter does
    Button_ReleaseHeldBack->setToolTip(
        QStringLiteral("Sichert noch einmal und führt dabei aus, was zurückgehalten wurde (mit Rückfrage)."));
    column->addWidget(Label_Result);
    column->addWidget(Button_ReleaseHeldBack, 0, Qt::AlignLeft);
    Panel_Result->hide();
    return Panel_Result;
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Only a real show starts a run: not a restore from the task bar, not a show during a run.
    if (!event->spontaneous() && !controller_->Running()) {
        FormShow();
    }
}

void TForm2::FormShow() {
    Prepare();
    if (!centred_) {
        centred_ = true;
        CentreOnScreen(*this);
    }
    Button_Cancel->setFocus();
    // The first tick comes after the window has been painted.
    Timer_Backup->start();
}

void TForm2::Prepare() {
    runFinished_ = false;
    *lastRun_ = cRunResult{};
    Edit_File->setText(project_.ProjectPath.empty() ? QStringLiteral("(nicht gespeichert)")
                                                    : FromModel(project_.ProjectPath));
    Edit_File->setCursorPosition(0);
    Edit_Description->setText(FromModel(project_.Description));
    QString comments = FromModel(project_.Comments);
    comments.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    Memo_Comments->setPlainText(comments);

    Image_Folder->clear();
    Label_MainSource->clear();
    Label_SubSource->clear();
    Label_MainDestination->clear();
    Label_File->clear();
    Label_Arrows->setVisible(true);
    Label_SubSource->setVisible(true);
    Label_MainDestination->setVisible(true);
    Panel_Result->setVisible(false);
    Label_Result->clear();
    Label10->setEnabled(false);

    // The bars' ranges are their widths in pixels, also for a window that is never shown.
    LayOutNow();
    ProgressBar_File->setRange(0, InnerWidth(ProgressBar_File));
    ProgressBar_File->setValue(0);
    ProgressBar->setRange(0, InnerWidth(ProgressBar));
    ProgressBar->setValue(0);

    Label_FilesCompared->setText(QStringLiteral("0"));
    Label_FilesCopied->setText(QStringLiteral("0"));
    ComboBox_AfterFinishing->setEnabled(true);
    Button_Protocol->setEnabled(false);
    Button_Cancel->setText(QStringLiteral("Abbrechen"));

    controller_->PrepareTotals(static_cast<std::uint64_t>(ProgressBar->maximum()),
                               static_cast<std::uint64_t>(ProgressBar_File->maximum()));
}

void TForm2::LayOutNow() {
    // A window that was never shown has had no resize events: its group boxes' own layouts have not run.
    // Parents come before their children here, so each layout works with its widget's final size.
    ensurePolished();
    layout()->activate();
    for (QWidget* child : findChildren<QWidget*>()) {
        if (QLayout* own = child->layout()) {
            own->invalidate();
            own->activate();
        }
    }
}

void TForm2::doBackUp() {
    Timer_Backup->stop();
    if (controller_->Running()) {
        return;
    }
    platform::cTerminationSignals terminationSignals(controller_->CancelFlag());
    signals_ = &terminationSignals;
    // Sleep would stall the copies halfway; a refused request does not stop the run.
    services_.SleepInhibitor.Acquire(QStringLiteral("Ein Sicherungsvorgang kopiert gerade Dateien."));
    *lastRun_ = controller_->Run();
    services_.SleepInhibitor.Release();
    endedBySignal_ = terminationSignals.Received();
    signals_ = nullptr;
    if (closeAfterRun_) {
        // Closed from its title bar during the run: the run went on to its end, now the window goes.
        closeAfterRun_ = false;
        close();
    }
}

void TForm2::Button_CancelClick() {
    if (runFinished_) {
        close();
    } else {
        controller_->Cancel();
    }
}

void TForm2::Button_ProtocolClick() {
    QString error;
    std::unique_ptr<QDialog> viewer = CreateProtocolViewer(this, project_.ProjectPath, error);
    if (!viewer) {
        ShowErrorMessage(this, error);
        return;
    }
    viewer->exec();
}

void TForm2::Button_ReleaseHeldBackClick() {
    if (controller_->Running() || !runFinished_ || lastRun_->HeldBack.empty()) {
        return;
    }
    if (!ConfirmRelease(*this, *lastRun_)) {
        return;
    }
    ChangeRunOptions([](cRunOptions& options) { options.ReleaseHeldBack = true; });
    Prepare();
    Button_Cancel->setFocus();
    Timer_Backup->start();  // from the message loop, as a run started by showing the window
}

void TForm2::SetRunOptions(const cRunOptions& options) {
    controller_->SetOptions(options);
    ComboBox_AfterFinishing->setCurrentIndex(static_cast<int>(options.Action));
}

const cRunOptions& TForm2::RunOptions() const {
    return controller_->Options();
}

void TForm2::ChangeRunOptions(const std::function<void(cRunOptions&)>& change) {
    cRunOptions options = controller_->Options();
    change(options);
    controller_->SetOptions(std::move(options));
}

void TForm2::TakeAfterFinishing(int index) {
    if (index >= 0) {
        ChangeRunOptions(
            [index](cRunOptions& options) { options.Action = static_cast<AfterFinishing>(index); });
    }
}

void TForm2::ComboBox_AfterFinishingClick(int index) {
    if (index != static_cast<int>(AfterFinishing::RunCommand)) {
        return;
    }
    bool confirmed = false;
    const QString entered = QInputDialog::getText(
        this, QStringLiteral("Befehl ausführen"), QStringLiteral("Geben Sie die Befehlszeile ein:"),
        QLineEdit::Normal, FromModel(RunOptions().Command), &confirmed);
    if (confirmed) {
        ChangeRunOptions([&entered](cRunOptions& options) { options.Command = ToModel(entered); });
    }
    if (!confirmed || RunOptions().Command.empty()) {
        ComboBox_AfterFinishing->setCurrentIndex(static_cast<int>(AfterFinishing::None));
    }
}

void TForm2::Timer_ShowTimeTimer() {
    controller_->ShowTimes();
}

void TForm2::closeEvent(QCloseEvent* event) {
    if (controller_->Running()) {
        // Closing does not cancel: the run goes on to its end, and the window goes afterwards.
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TForm2::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Button_Cancel->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm2::ShowPath(QLabel* label, const std::string& path) {
    label->setText(MinimizeName(FromModel(path), label->fontMetrics(), label->contentsRect().width()));
}

void TForm2::ShowTimes(const std::string& elapsed, const std::string& remaining) {
    Label_TimeElapsed->setText(FromModel(elapsed));
    Label_TimeRest->setText(FromModel(remaining));
}

void TForm2::StartTimeDisplay() {
    Timer_ShowTime->start();
}

void TForm2::ShowDestination(const cBackUpDestination& destination) {
    ShowPath(Label_MainDestination, destination.Path);
}

void TForm2::ShowSource(const cBackUpSource& source) {
    const QIcon icon = icons_->icon(QFileInfo(FromModel(source.Path)));
    Image_Folder->setPixmap(icon.pixmap(kIconSize, kIconSize));
    ShowPath(Label_MainSource, source.Path);
}

void TForm2::ShowOverallProgress(std::uint64_t position) {
    ProgressBar->setValue(static_cast<int>(position));
}

void TForm2::ShowSubDirectory(const std::string& relativePath) {
    ShowPath(Label_SubSource, relativePath);
}

void TForm2::ShowFilesCompared(int count) {
    Label_FilesCompared->setText(QString::number(count));
}

void TForm2::ShowFileStarted(const std::string& name) {
    Label_File->setText(FromModel(name));
    Label10->setEnabled(true);
}

void TForm2::ShowFileProgress(std::uint64_t position) {
    ProgressBar_File->setValue(static_cast<int>(position));
}

void TForm2::ShowFileCopied(int count) {
    Label10->setEnabled(false);
    Label_File->clear();
    ProgressBar_File->setValue(0);
    Label_FilesCopied->setText(QString::number(count));
}

void TForm2::ShowEndOfRun(const cRunResult& result) {
    Timer_ShowTime->stop();
    Label_TimeRest->setText(FromModel(TimeText(0, services_.Formats)));
    const bool success = !result.Cancelled && !HadProblems(result);
    // A run with problems keeps its bar where the work stopped, like a cancelled one.
    if (success) {
        ProgressBar->setValue(ProgressBar->maximum());
    }
    const QStyle::StandardPixmap icon =
        success ? QStyle::SP_MessageBoxInformation : QStyle::SP_MessageBoxWarning;
    Image_Folder->setPixmap(style()->standardIcon(icon).pixmap(kIconSize, kIconSize));
    Label_MainSource->setText(OutcomeHeadline(result));
    QApplication::beep();
    Label_SubSource->clear();
    Label_MainDestination->clear();
    Label_Arrows->setVisible(false);
    ShowOutcomeDetails(result);
    ComboBox_AfterFinishing->setEnabled(false);
    Button_Protocol->setEnabled(result.ProtocolOpened);
    Button_Cancel->setText(QStringLiteral("Schließen"));
    runFinished_ = true;
    *lastRun_ = result;  // the release button works from it before the run has returned
}

void TForm2::ShowOutcomeDetails(const cRunResult& result) {
    const int width = Label_MainSource->width();
    const QFontMetrics metrics = Label_Result->fontMetrics();
    const QString details = OutcomeDetails(
        result, [&metrics](const QString& text) { return metrics.horizontalAdvance(text); }, width);
    if (details.isEmpty()) {
        return;
    }
    Label_Result->setText(details);
    // As high as the text wrapped at the labels' width: the window sizes itself to its contents and must
    // grow downwards only.
    Label_Result->setFixedSize(
        width, metrics.boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, details).height());
    Button_ReleaseHeldBack->setVisible(!result.HeldBack.empty());
    Label_SubSource->setVisible(false);
    Label_MainDestination->setVisible(false);
    Panel_Result->setVisible(true);
}

void TForm2::ReportRunRefused(const std::string& message) {
    ReportAfterRun(FromModel(message));
    close();  // the window exists for this run only
}

void TForm2::ReportSaveFailure(const std::string& message) {
    ReportAfterRun(ProjectSaveFailure(FromModel(project_.ProjectPath), FromModel(message)));
}

void TForm2::ReportRunMessage(const std::string& text) {
    ReportAfterRun(FromModel(text));
}

void TForm2::ReportAfterRun(const QString& text) {
    // A box would hold up a run that ends by itself (silent, or with an action that ends the program):
    // there the text goes to standard error, where a scheduled run's output is collected.
    if (RunOptions().Silent || RunOptions().Action != AfterFinishing::None || !isVisible()) {
        std::fprintf(stderr, "%s\n", WithFullStop(text).toUtf8().constData());
        std::fflush(stderr);
        return;
    }
    ShowErrorMessage(this, text);
}

void TForm2::CarryOutAfterFinishing() {
    // The copying is over; a shutdown or a command may well want to sleep.
    services_.SleepInhibitor.Release();
    if (signals_ != nullptr && signals_->Received()) {
        // Asked to terminate: no shutdown and no command, the program just ends.
        EndApplication();
        return;
    }
    if (CarryOutAfterRun(RunOptions(), services_.Shutdown, services_.Launcher)) {
        EndApplication();
    }
}

void TForm2::CloseWindow() {
    close();
}

}  // namespace trx
