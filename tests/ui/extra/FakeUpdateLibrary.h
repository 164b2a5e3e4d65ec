// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Test side of the stand-in update library: redirects the system-wide settings into a temporary
// directory and records what the update hook asks the library.

#include "support/TestDir.h"
#include "ui/extra/fakeupdate/FakeUpdate.h"

#include <dlfcn.h>
#include <QSettings>
#include <QString>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace trx::test {

// Points this process's system-wide settings into a fresh temporary directory, where the update hook
// then finds "QV/Update.conf"; the machine's own configuration is never read or touched.
class UpdateSettings {
public:
    UpdateSettings() {
        const QString path = QString::fromStdString(dir_.Path());
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, path);
        QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, path);
    }
    UpdateSettings(const UpdateSettings&) = delete;
    UpdateSettings& operator=(const UpdateSettings&) = delete;

    // Writes the setting that names the update library, as an administrator would.
    void NameLibrary(const std::string& value) {
        dir_.WriteFile("QV/Update.conf", "[General]\nQVUpdate=" + value + "\n");
    }
    // Writes the settings file without the value.
    void WriteWithoutValue() { dir_.WriteFile("QV/Update.conf", "[General]\nAnderes=1\n"); }

    TestDir& Dir() { return dir_; }

private:
    TestDir dir_;
};

struct UpdateCall {
    std::string entry;
    void* application = nullptr;
    std::string shortApplicationName;
    int flag = -1;
};

// Keeps the stand-in library loaded for the test's lifetime, so that its answers survive the hook's
// unloading, and collects every call of its entry points. It holds its own reference through the system
// loader: Qt's library objects share one load count per file, which the hook's unloading would end.
class FakeUpdateLibrary {
public:
    explicit FakeUpdateLibrary(std::string path = FAKEUPDATE_PATH)
        : path_(std::move(path)), handle_(::dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL)) {
        if (handle_ == nullptr) {
            throw std::runtime_error("cannot load the stand-in update library: " + std::string(::dlerror()));
        }
        configure_ = reinterpret_cast<FakeUpdateConfigure>(::dlsym(handle_, "fakeUpdateConfigure"));
        if (configure_ == nullptr) {
            throw std::runtime_error("the stand-in update library cannot be configured");
        }
        Answer(false, false);
    }
    ~FakeUpdateLibrary() {
        configure_(0, 0, nullptr, nullptr);
        ::dlclose(handle_);
    }
    FakeUpdateLibrary(const FakeUpdateLibrary&) = delete;
    FakeUpdateLibrary& operator=(const FakeUpdateLibrary&) = delete;

    // What "autoUpdate" and "doUpdate" answer from now on.
    void Answer(bool autoUpdate, bool doUpdate) {
        configure_(autoUpdate ? 1 : 0, doUpdate ? 1 : 0, &Observe, this);
    }

    const std::string& Path() const { return path_; }

    std::vector<UpdateCall> Calls;
    std::function<void(const UpdateCall&)> DuringCall;  // runs inside the library's entry point

private:
    static void Observe(void* context, const char* entry, void* application, const char* name,
                        unsigned char flag) {
        auto* self = static_cast<FakeUpdateLibrary*>(context);
        const UpdateCall call{entry, application, name != nullptr ? name : "<null>", flag};
        self->Calls.push_back(call);
        if (self->DuringCall) {
            self->DuringCall(call);
        }
    }

    std::string path_;
    void* handle_;
    FakeUpdateConfigure configure_ = nullptr;
};

}  // namespace trx::test
