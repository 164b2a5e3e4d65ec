// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeUpdate.h"

// Built twice: complete, and without "autoUpdate" (FAKEUPDATE_WITHOUT_AUTOUPDATE) to stand for a library
// that lacks an entry point.

namespace {

unsigned char autoAnswer = 0;
unsigned char doAnswer = 0;
FakeUpdateObserver observer = nullptr;
void* observerContext = nullptr;

unsigned char Answer(const char* entry, void* application, const char* name, unsigned char flag,
                     const unsigned char& answer) {
    if (observer != nullptr) {
        observer(observerContext, entry, application, name, flag);
    }
    return answer;  // read after the observer, which may change it
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void fakeUpdateConfigure(unsigned char autoUpdateAnswer,
                                                                unsigned char doUpdateAnswer,
                                                                FakeUpdateObserver newObserver,
                                                                void* context) {
    autoAnswer = autoUpdateAnswer;
    doAnswer = doUpdateAnswer;
    observer = newObserver;
    observerContext = context;
}

#ifndef FAKEUPDATE_WITHOUT_AUTOUPDATE
__attribute__((visibility("default"))) unsigned char autoUpdate(void* application, const char* name,
                                                                unsigned char flag) {
    return Answer("autoUpdate", application, name, flag, autoAnswer);
}
#endif

__attribute__((visibility("default"))) unsigned char doUpdate(void* application, const char* name,
                                                              unsigned char flag) {
    return Answer("doUpdate", application, name, flag, doAnswer);
}

__attribute__((visibility("default"))) void install() {
}
__attribute__((visibility("default"))) void uninstall() {
}
__attribute__((visibility("default"))) void uninstallMsg() {
}
}
