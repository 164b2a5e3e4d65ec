#include "ui/main/TForm1.h"

#include "model/Project.h"
#include "ui/common/ApplicationTitle.h"

#include <cstdlib>

namespace trx {

std::function<void(int status)> TForm1::EndProcess = [](int status) { std::exit(status); };

TForm1::TForm1(cProject& project, QWidget* parent) : QMainWindow(parent), QVUpdate(this), project_(project) {
    setObjectName(QStringLiteral("Form1"));
    resize(553, 528);
    QVUpdate.setObjectName(QStringLiteral("QVUpdate"));
    QVUpdate.ShortApplicationName = QStringLiteral("trxmain");
    QVUpdate.Loaded();
    project_.Reset();
    SetProjectPath(QString());

    // Keep this the last step: an update library that takes over ends the program before it shows.
    if (QVUpdate.autoUpdate(true, 1)) {
        EndProcess(0);
    }
}

void TForm1::SetProjectPath(const QString& path) {
    project_.ProjectPath = path.toStdString();
    setWindowTitle(path.isEmpty() ? kApplicationTitle
                                  : kApplicationTitle + QStringLiteral(" - [") + path + "]");
}

}  // namespace trx
