// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLibrary;
class QWidget;

namespace trx {

// Connects the program to a separately installed update library. The library is named by the
// system-wide setting "QVUpdate" of organisation "QV", application "Update"; without it, or when it
// cannot be loaded, every request simply reports that no update took place. Ctrl+U asks the library for
// an update while the main window is the active window.
class TQVUpdate : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString ShortApplicationName MEMBER ShortApplicationName)
    Q_PROPERTY(QString DllFileName MEMBER DllFileName)
    Q_PROPERTY(bool LoadAtStartup MEMBER LoadAtStartup)
    Q_PROPERTY(bool UpdateCallingApplication MEMBER UpdateCallingApplication)
    Q_PROPERTY(bool CreateShortCut MEMBER CreateShortCut)

public:
    // The system-wide setting that names the library.
    static constexpr const char* kSettingsOrganisation = "QV";
    static constexpr const char* kSettingsApplication = "Update";
    static constexpr const char* kSettingsKey = "QVUpdate";

    // `mainWindow` owns the component; Ctrl+U counts only while it is the active window.
    explicit TQVUpdate(QWidget* mainWindow);
    ~TQVUpdate() override;  // unloads the library and ends the shortcut

    QString ShortApplicationName;  // passed to the library
    QString DllFileName;           // the library's file; autoLoad fills it from the system-wide setting
    bool LoadAtStartup = false;    // Loaded() loads the library at once
    bool UpdateCallingApplication = true;  // pass the application object, else a null pointer
    bool CreateShortCut = true;            // Loaded() starts watching for Ctrl+U
    // Called after Ctrl+U made the library update the program; without it the application quits.
    std::function<void()> OnShortCutUpdateDone;

    // Reads the setting; a non-empty value becomes DllFileName and is loaded. Returns whether a library
    // is loaded now. Never throws, shows nothing.
    bool autoLoad();
    // Loads DllFileName (autoLoad when it is empty) after unloading any library. Returns success.
    bool loadDll();
    // Frees the library and forgets its entry points.
    void unloadDll();
    // Asks the library's "autoUpdate" (loading it through the setting first if needed); true means the
    // library updated the program and the caller must end it. False for every failure, silently.
    bool autoUpdate(bool unloadAfterwards, unsigned char flag);
    // The same with the library's "doUpdate"; leaves the busy flag alone.
    bool doUpdate(bool unloadAfterwards, unsigned char flag);
    // Called by the owning window once it is built: loads or unloads as LoadAtStartup says and starts
    // the shortcut when CreateShortCut is set.
    void Loaded();

    bool IsLoaded() const { return library_ != nullptr; }
    bool IsBusy() const { return busy_; }

protected:
    // Watches every key event of the application for Ctrl+U; never consumes one.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using TUpdateEntry = unsigned char (*)(void* application, const char* shortApplicationName,
                                           unsigned char flag);

    bool CallEntry(TUpdateEntry entry, unsigned char flag) const;
    void ShortCutPressed();
    bool IsFirstKeyReceiver(QObject* watched) const;

    QWidget* mainWindow_;
    std::unique_ptr<QLibrary> library_;
    TUpdateEntry autoUpdate_ = nullptr;
    TUpdateEntry doUpdate_ = nullptr;
    // Looked up so that the library is complete, never called by this program.
    void (*install_)() = nullptr;
    void (*uninstall_)() = nullptr;
    void (*uninstallMsg_)() = nullptr;
    // Set while the library is loaded through the setting or runs an update: Ctrl+U does nothing then.
    bool busy_ = false;
    bool watchingKeys_ = false;
};

}  // namespace trx
