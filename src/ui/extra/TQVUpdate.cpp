// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/extra/TQVUpdate.h"

#include <QApplication>
#include <QByteArray>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLibrary>
#include <QSettings>
#include <QWidget>

namespace trx {

namespace {

// The one instance whose shortcut acts; a second instance that starts its shortcut takes over, so that
// one key never asks twice.
TQVUpdate* shortCutInstance = nullptr;

// Sets a flag for one scope and puts back what it was, so that a nested use cannot clear it early.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = previous_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool previous_;
};

template <typename Function>
Function Resolve(QLibrary& library, const char* name) {
    return reinterpret_cast<Function>(library.resolve(name));
}

}  // namespace

TQVUpdate::TQVUpdate(QWidget* mainWindow) : QObject(mainWindow), mainWindow_(mainWindow) {
}

TQVUpdate::~TQVUpdate() {
    unloadDll();
    if (watchingKeys_ && QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
    if (shortCutInstance == this) {
        shortCutInstance = nullptr;
    }
}

bool TQVUpdate::autoLoad() {
    // Only the system-wide value counts: no user may point the program at a library of their own, and
    // the organisation-wide fallback file is not the place that names it.
    QSettings settings(QSettings::SystemScope, QString::fromLatin1(kSettingsOrganisation),
                       QString::fromLatin1(kSettingsApplication));
    settings.setFallbacksEnabled(false);
    const QString fileName = settings.value(QString::fromLatin1(kSettingsKey)).toString();
    if (fileName.isEmpty()) {
        return IsLoaded();
    }
    DllFileName = fileName;
    const FlagScope busy(busy_);
    return loadDll();
}

bool TQVUpdate::loadDll() {
    unloadDll();
    if (DllFileName.isEmpty()) {
        return autoLoad();
    }
    const QFileInfo file(DllFileName);
    if (!file.isFile()) {
        return false;
    }
    // The absolute name makes the loader take exactly the file just checked, never a namesake from the
    // library search path.
    auto library = std::make_unique<QLibrary>(file.absoluteFilePath());
    if (!library->load()) {
        return false;
    }
    autoUpdate_ = Resolve<TUpdateEntry>(*library, "autoUpdate");
    doUpdate_ = Resolve<TUpdateEntry>(*library, "doUpdate");
    install_ = Resolve<void (*)()>(*library, "install");
    uninstall_ = Resolve<void (*)()>(*library, "uninstall");
    uninstallMsg_ = Resolve<void (*)()>(*library, "uninstallMsg");
    library_ = std::move(library);
    return true;
}

void TQVUpdate::unloadDll() {
    if (library_ != nullptr) {
        library_->unload();
        library_.reset();
    }
    autoUpdate_ = nullptr;
    doUpdate_ = nullptr;
    install_ = nullptr;
    uninstall_ = nullptr;
    uninstallMsg_ = nullptr;
}

bool TQVUpdate::CallEntry(TUpdateEntry entry, unsigned char flag) const {
    if (entry == nullptr) {
        return false;  // a library without this entry point has nothing to update
    }
    const QByteArray name = ShortApplicationName.toUtf8();
    void* application = UpdateCallingApplication ? QCoreApplication::instance() : nullptr;
    return entry(application, name.constData(), flag) != 0;
}

bool TQVUpdate::autoUpdate(bool unloadAfterwards, unsigned char flag) {
    if (!IsLoaded() && !autoLoad()) {
        return false;
    }
    bool updated = false;
    {
        const FlagScope busy(busy_);
        updated = CallEntry(autoUpdate_, flag);
    }
    if (unloadAfterwards) {
        unloadDll();
    }
    return updated;
}

bool TQVUpdate::doUpdate(bool unloadAfterwards, unsigned char flag) {
    if (!IsLoaded() && !autoLoad()) {
        return false;
    }
    const bool updated = CallEntry(doUpdate_, flag);
    if (unloadAfterwards) {
        unloadDll();
    }
    return updated;
}

void TQVUpdate::Loaded() {
    if (LoadAtStartup) {
        loadDll();
    } else {
        unloadDll();
    }
    if (CreateShortCut && QCoreApplication::instance() != nullptr) {
        if (!watchingKeys_) {
            QCoreApplication::instance()->installEventFilter(this);
            watchingKeys_ = true;
        }
        shortCutInstance = this;
    }
}

bool TQVUpdate::IsFirstKeyReceiver(QObject* watched) const {
    // An application-wide filter meets one key event several times: at the window, at the focused widget
    // and at every parent it propagates to. Only the widget the keyboard goes to counts.
    QWidget* target = QWidget::keyboardGrabber();
    if (target == nullptr) {
        QWidget* active = QApplication::activeWindow();
        if (active == nullptr) {
            return false;
        }
        target = active->focusWidget() != nullptr ? active->focusWidget() : active;
    }
    return watched == target;
}

bool TQVUpdate::eventFilter(QObject* watched, QEvent* event) {
    // Press, auto-repeat and release alike, as each is one key event.
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return false;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (shortCutInstance != this || key->key() != Qt::Key_U ||
        !key->modifiers().testFlag(Qt::ControlModifier) || mainWindow_ == nullptr ||
        QApplication::activeWindow() != mainWindow_->window() || !IsFirstKeyReceiver(watched)) {
        return false;
    }
    ShortCutPressed();
    return false;  // the key goes on to the focused widget in every case
}

void TQVUpdate::ShortCutPressed() {
    if (busy_ || (!IsLoaded() && !loadDll())) {
        return;
    }
    const FlagScope busy(busy_);
    if (doUpdate(true, 0)) {
        if (OnShortCutUpdateDone) {
            OnShortCutUpdateDone();
        } else {
            // Quitting closes the windows the ordinary way, so the main window still asks whether to save
            // the project before the updated program takes over.
            QCoreApplication::quit();
        }
    }
}

}  // namespace trx
