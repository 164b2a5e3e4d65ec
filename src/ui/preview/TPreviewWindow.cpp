// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preview/TPreviewWindow.h"

#include "engine/FormatSize.h"
#include "model/BackUpDestination.h"
#include "model/BackUpSource.h"
#include "ui/common/CentreOnScreen.h"
#include "ui/common/MinimizeName.h"
#include "ui/common/ModelText.h"
#include "ui/common/Named.h"
#include "ui/preview/KindIcons.h"
#include "ui/preview/PlanFilter.h"
#include "ui/preview/PlanModel.h"
#include "ui/run/ReleaseConfirmation.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace trx {

namespace {

using Kind = cPlannedAction::Kind;
constexpr std::array<Kind, 5> kKinds = {Kind::Copy, Kind::Replace, Kind::Delete, Kind::HoldBack,
                                        Kind::Problem};
constexpr int kBarMaximum = 1000;

QPushButton* Button(const QString& caption, const char* name) {
    auto* button = Named(new QPushButton(caption), name);
    // A start must be a deliberate click: Enter never starts a run from here.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QLabel* PathLabel(const char* name) {
    auto* label = Named(new QLabel, name);
    label->setMinimumWidth(420);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

TPreviewWindow::TPreviewWindow(cProject& project, platform::FileSystem& fs, const cTextFormats& formats,
                               QWidget* parent)
    : QDialog(parent),
      formats_(formats),
      controller_(project, *this, fs, formats),
      model_(std::make_unique<cPlanModel>(formats)) {
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(QStringLiteral("Vorschau"));
    filter_ = new cPlanFilter(*model_, this);
    Pages = Named(new QStackedWidget, "Pages");
    Pages->addWidget(BuildWalkPage());
    Pages->addWidget(BuildPlanPage());
    Button_Start = Button(QStringLiteral("Sicherung starten"), "Button_Start");
    Button_Release = Button(QStringLiteral("Zurückgehaltenes freigeben und starten …"), "Button_Release");
    Button_Cancel = Button(QStringLiteral("Abbrechen"), "Button_Cancel");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button_Start);
    buttons->addWidget(Button_Release);
    buttons->addStretch();
    buttons->addWidget(Button_Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Pages, 1);
    layout->addLayout(buttons);
    Button_Start->setEnabled(false);
    Button_Release->hide();
    connect(Button_Start, &QPushButton::clicked, this, &TPreviewWindow::Button_StartClick);
    connect(Button_Release, &QPushButton::clicked, this, &TPreviewWindow::Button_ReleaseClick);
    connect(Button_Cancel, &QPushButton::clicked, this, &TPreviewWindow::Button_CancelClick);
    // The engine hands events to the window between entries, so that it repaints and hears a stop.
    controller_.SetPumpHook([] { QCoreApplication::processEvents(); });
    resize(960, 600);
}

TPreviewWindow::~TPreviewWindow() {
    TreeView_Plan->setModel(nullptr);
}

QWidget* TPreviewWindow::BuildWalkPage() {
    auto* page = new QWidget;
    Label_Destination = PathLabel("Label_Destination");
    Label_Source = PathLabel("Label_Source");
    Label_Folder = PathLabel("Label_Folder");
    Label_FilesCompared = Named(new QLabel(QStringLiteral("0")), "Label_FilesCompared");
    ProgressBar_Walk = Named(new QProgressBar, "ProgressBar_Walk");
    ProgressBar_Walk->setRange(0, kBarMaximum);
    ProgressBar_Walk->setTextVisible(false);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Ziel:"), Label_Destination);
    form->addRow(QStringLiteral("Quelle:"), Label_Source);
    form->addRow(QStringLiteral("Ordner:"), Label_Folder);
    form->addRow(QStringLiteral("Dateien verglichen:"), Label_FilesCompared);
    auto* layout = new QVBoxLayout(page);
    auto* intro =
        new QLabel(QStringLiteral("Die Vorschau prüft, was eine Sicherung jetzt täte. Es wird "
                                  "nichts kopiert, ersetzt oder gelöscht."));
    intro->setWordWrap(true);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(ProgressBar_Walk);
    layout->addStretch();
    return page;
}

QWidget* TPreviewWindow::BuildKindRow() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    static const char* const kNames[] = {"Button_ShowCopy", "Button_ShowReplace", "Button_ShowDelete",
                                         "Button_ShowHeldBack", "Button_ShowProblem"};
    for (const Kind kind : kKinds) {
        const auto i = static_cast<std::size_t>(kind);
        auto* button = Named(new QToolButton, kNames[i]);
        button->setIcon(KindIcon(kind));
        button->setText(KindName(kind));
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setCheckable(true);
        button->setChecked(true);
        button->setAutoRaise(true);
        button->setToolTip(QStringLiteral("Zeilen dieser Art zeigen oder verbergen"));
        connect(button, &QToolButton::toggled, this, [this, kind](bool shown) {
            filter_->SetKindShown(kind, shown);
            ExpandGroups();
        });
        Button_Kinds[i] = button;
        layout->addWidget(button);
    }
    layout->addStretch();
    Edit_Search = Named(new QLineEdit, "Edit_Search");
    Edit_Search->setPlaceholderText(QStringLiteral("Name suchen"));
    Edit_Search->setClearButtonEnabled(true);
    Edit_Search->setMinimumWidth(160);
    connect(Edit_Search, &QLineEdit::textChanged, this, [this](const QString& text) {
        filter_->SetSearch(text);
        ExpandGroups();
    });
    layout->addWidget(Edit_Search);
    return row;
}

QWidget* TPreviewWindow::BuildPlanPage() {
    auto* page = new QWidget;
    TreeView_Plan = Named(new QTreeView, "TreeView_Plan");
    TreeView_Plan->setModel(filter_);
    // One height for all rows: the view then lays out a hundred thousand rows without asking each.
    TreeView_Plan->setUniformRowHeights(true);
    TreeView_Plan->setAlternatingRowColors(true);
    TreeView_Plan->setSelectionBehavior(QAbstractItemView::SelectRows);
    QHeaderView* header = TreeView_Plan->header();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->resizeSection(cPlanModel::ColumnName, 460);
    header->resizeSection(cPlanModel::ColumnKind, 110);
    header->resizeSection(cPlanModel::ColumnSize, 80);
    header->resizeSection(cPlanModel::ColumnSourceTime, 135);
    header->resizeSection(cPlanModel::ColumnCopyTime, 135);
    connect(header, &QHeaderView::sectionClicked, this, &TPreviewWindow::ClickHeader);
    connect(TreeView_Plan->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TPreviewWindow::ShowMarked);
    Label_Note = Named(new QLabel, "Label_Note");
    Label_Note->setWordWrap(true);
    Label_Note->setTextFormat(Qt::PlainText);
    Label_Note->hide();
    Label_Full = Named(new QLabel, "Label_Full");
    Label_Full->setWordWrap(true);
    Label_Full->setTextFormat(Qt::PlainText);
    Label_Full->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label_Full->setMinimumHeight(2 * Label_Full->fontMetrics().lineSpacing());
    Label_Full->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(BuildKindRow());
    layout->addWidget(Label_Note);
    layout->addWidget(TreeView_Plan, 1);
    layout->addWidget(Label_Full);
    return page;
}

void TPreviewWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        CentreOnScreen(*this);
        // From the message loop, once the window is on screen.
        QMetaObject::invokeMethod(this, &TPreviewWindow::Walk, Qt::QueuedConnection);
    }
}

void TPreviewWindow::Walk() {
    if (walking_ || plan_ != nullptr) {
        return;
    }
    started_ = true;
    plan_ = std::make_unique<cRunPlan>();
    walking_ = true;
    controller_.PrepareTotals(kBarMaximum, 1);
    result_ = controller_.Preview(*plan_);
    walking_ = false;
    stopped_ = result_.Cancelled;
    if (closeAfterWalk_) {
        reject();
        return;
    }
    ShowPlan();
}

void TPreviewWindow::ShowPlan() {
    model_->SetPlan(plan_.get());
    Pages->setCurrentIndex(1);
    ShowCounts();
    ExpandGroups();
    Button_Cancel->setText(QStringLiteral("Schließen"));
    Button_Cancel->setEnabled(true);
    Button_Start->setEnabled(!result_.AlreadyRunning);
    // Released work is only what a whole walk found held back.
    Button_Release->setVisible(!stopped_ && !result_.AlreadyRunning && !result_.HeldBack.empty());
    if (result_.AlreadyRunning) {
        Label_Note->setText(FromModel(refusal_));
    } else if (stopped_) {
        Label_Note->setText(QStringLiteral("Die Vorschau wurde abgebrochen; die Liste ist unvollständig."));
    } else if (plan_->Actions.empty()) {
        Label_Note->setText(QStringLiteral("Eine Sicherung hätte jetzt nichts zu tun."));
    }
    Label_Note->setVisible(!Label_Note->text().isEmpty());
    TreeView_Plan->setFocus();
    layout()->activate();  // the counts are longer than the captions the buttons were laid out for
}

void TPreviewWindow::ShowCounts() {
    const cPlanSummary sum = Summarize(*plan_);
    const auto bytes = [this](std::uint64_t size) { return FromModel(FormatSize(size, formats_)); };
    const QString texts[] = {
        QStringLiteral("Kopieren: %1 (%2)").arg(sum.Copies).arg(bytes(sum.CopyBytes)),
        QStringLiteral("Ersetzen: %1 (%2)").arg(sum.Replacements).arg(bytes(sum.ReplaceBytes)),
        QStringLiteral("Löschen: %1").arg(sum.Deletions),
        QStringLiteral("Zurückgehalten: %1").arg(sum.HeldBack),
        QStringLiteral("Probleme: %1").arg(sum.Problems),
    };
    for (std::size_t i = 0; i < kKinds.size(); ++i) {
        Button_Kinds[i]->setText(texts[i]);
    }
}

void TPreviewWindow::ExpandGroups() {
    // Destinations and sources only: expanding all would visit every row.
    for (int d = 0; d < filter_->rowCount(); ++d) {
        const QModelIndex destination = filter_->index(d, 0);
        TreeView_Plan->expand(destination);
        for (int g = 0; g < filter_->rowCount(destination); ++g) {
            TreeView_Plan->expand(filter_->index(g, 0, destination));
        }
    }
}

void TPreviewWindow::ShowMarked() {
    const QModelIndex current = TreeView_Plan->currentIndex();
    if (current.isValid()) {
        Label_Full->setText(model_->FullText(filter_->mapToSource(current)));
    }
}

void TPreviewWindow::ClickHeader(int column) {
    filter_->ClickColumn(column);
    QHeaderView* header = TreeView_Plan->header();
    header->setSortIndicatorShown(filter_->SortColumn() >= 0);
    header->setSortIndicator(filter_->SortColumn(), filter_->Order());
    ExpandGroups();
}

void TPreviewWindow::Button_CancelClick() {
    if (walking_) {
        Stop(false);
    } else {
        reject();
    }
}

void TPreviewWindow::Button_StartClick() {
    if (walking_ || plan_ == nullptr) {
        return;
    }
    chosen_ = Choice::Run;
    accept();
}

void TPreviewWindow::Button_ReleaseClick() {
    if (walking_ || result_.HeldBack.empty() || !ConfirmRelease(*this, result_, true)) {
        return;
    }
    chosen_ = Choice::ReleaseAndRun;
    accept();
}

void TPreviewWindow::Stop(bool close) {
    controller_.Cancel();
    closeAfterWalk_ = closeAfterWalk_ || close;
    Button_Cancel->setEnabled(false);
}

void TPreviewWindow::closeEvent(QCloseEvent* event) {
    if (walking_) {
        // The walk must end before the window may go: it runs inside this window's event handling.
        Stop(true);
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TPreviewWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && walking_) {
        // The first Escape stops the walk; one more closes the window as well.
        Stop(controller_.CancelFlag().load());
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TPreviewWindow::done(int result) {
    if (walking_) {
        Stop(true);
        return;
    }
    // The plan may be large: it goes with the window, whatever happens next.
    model_->SetPlan(nullptr);
    plan_.reset();
    QDialog::done(result);
}

void TPreviewWindow::ShowDestination(const cBackUpDestination& destination) {
    Label_Destination->setText(MinimizeName(FromModel(destination.Path), Label_Destination->fontMetrics(),
                                            Label_Destination->width()));
}

void TPreviewWindow::ShowSource(const cBackUpSource& source) {
    Label_Source->setText(
        MinimizeName(FromModel(source.Path), Label_Source->fontMetrics(), Label_Source->width()));
    Label_Folder->clear();
}

void TPreviewWindow::ShowOverallProgress(std::uint64_t position) {
    ProgressBar_Walk->setValue(static_cast<int>(std::min<std::uint64_t>(position, kBarMaximum)));
}

void TPreviewWindow::ShowSubDirectory(const std::string& relativePath) {
    Label_Folder->setText(
        MinimizeName(FromModel(relativePath), Label_Folder->fontMetrics(), Label_Folder->width()));
}

void TPreviewWindow::ShowFilesCompared(int count) {
    Label_FilesCompared->setText(QString::number(count));
}

void TPreviewWindow::ReportRunRefused(const std::string& message) {
    refusal_ = message;
}

}  // namespace trx
