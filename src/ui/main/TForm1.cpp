#include "ui/main/TForm1.h"

#include "model/Project.h"
#include "ui/common/ApplicationTitle.h"

namespace trx {

TForm1::TForm1(cProject& project, QWidget* parent) : QMainWindow(parent), project_(project) {
    setObjectName(QStringLiteral("Form1"));
    resize(553, 528);
    project_.Reset();
    SetProjectPath(QString());
}

void TForm1::SetProjectPath(const QString& path) {
    project_.ProjectPath = path.toStdString();
    setWindowTitle(path.isEmpty() ? kApplicationTitle
                                  : kApplicationTitle + QStringLiteral(" - [") + path + "]");
}

}  // namespace trx
