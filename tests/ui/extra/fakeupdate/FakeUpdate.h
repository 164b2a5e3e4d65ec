// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A stand-in for the separately installed update library. It exports the library's entry points and one
// more, fakeUpdateConfigure, through which a test sets the answers and receives every call.

extern "C" {

// Told about every call of an entry point, before the entry point answers.
typedef void (*FakeUpdateObserver)(void* context, const char* entry, void* application,
                                   const char* shortApplicationName, unsigned char flag);

// Sets what "autoUpdate" and "doUpdate" answer and who hears about calls (null: nobody).
typedef void (*FakeUpdateConfigure)(unsigned char autoAnswer, unsigned char doAnswer,
                                    FakeUpdateObserver observer, void* context);
}
