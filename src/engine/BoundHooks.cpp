// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/BoundHooks.h"

#include "engine/RunController.h"
#include "model/BackUpDestination.h"

namespace trx {

cBoundHooks::cBoundHooks(cBackUpDestination& destination, cRunController& controller) : destination_(destination) {
    cRunController* c = &controller;
    destination.OnSourceStart = [c](cBackUpDestination& d, cBackUpSource* previous, cBackUpSource& current) {
        c->SourceStart(d, previous, current);
    };
    destination.OnDirEntered = [c](cBackUpDestination& d, const std::string& path) { c->DirEntered(d, path); };
    destination.OnProgress = [c](cBackUpDestination& d, int position, int count) { c->Progress(d, position, count); };
    destination.OnFileCompared = [c](cBackUpDestination& d, cBackUpSource& s) { c->FileCompared(d, s); };
    destination.OnFileProgress = [c](cBackUpDestination& d, std::uint64_t done, std::uint64_t size,
                                     const std::string* name) { c->FileProgress(d, done, size, name); };
}

cBoundHooks::~cBoundHooks() {
    destination_.OnSourceStart = nullptr;
    destination_.OnDirEntered = nullptr;
    destination_.OnProgress = nullptr;
    destination_.OnFileCompared = nullptr;
    destination_.OnFileProgress = nullptr;
}

}  // namespace trx
