// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace trx {

// Starts the program or opens the document of an after-finishing command. The run window talks only to
// this interface; tests hand it a recorder.
class cCommandLauncher {
public:
    virtual ~cCommandLauncher() = default;
    // `item` is the program or document, `arguments` the remaining items. True when it was started.
    virtual bool Open(const QString& item, const QStringList& arguments) = 0;
};

// An executable program (a path to an executable file, or a name found in PATH) is started directly with
// the arguments, no shell in between, in the current directory and detached, so that it outlives this
// program. Anything else is opened with the desktop's default application; the arguments then have no
// place to go.
class cDesktopCommandLauncher : public cCommandLauncher {
public:
    bool Open(const QString& item, const QStringList& arguments) override;

    // The program to start for `item`, or "" when it is no executable program.
    static QString ExecutableFor(const QString& item);
};

}  // namespace trx
