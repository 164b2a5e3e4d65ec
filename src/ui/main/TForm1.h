#pragma once

#include "ui/extra/TQVUpdate.h"

#include <QMainWindow>
#include <functional>

namespace trx {

class cProject;

// The main window of an interactive start: it edits the project it is given.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(cProject& project, QWidget* parent = nullptr);

    // Sets ProjectPath and the caption: "Tresorix", or "Tresorix - [<path>]" for a saved project.
    void SetProjectPath(const QString& path);

    // Ends the process with the given status when the update library took over at start (std::exit);
    // tests put a recorder in its place.
    static std::function<void(int status)> EndProcess;

    TQVUpdate QVUpdate;  // asks the update library at start and on Ctrl+U

private:
    cProject& project_;
};

}  // namespace trx
