#pragma once

#include <QMainWindow>

namespace trx {

class cProject;

// The main window of an interactive start: it edits the project it is given.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(cProject& project, QWidget* parent = nullptr);

    // Sets ProjectPath and the caption: "Tresorix", or "Tresorix - [<path>]" for a saved project.
    void SetProjectPath(const QString& path);

private:
    cProject& project_;
};

}  // namespace trx
