// korvel: the desktop program.
#include <QApplication>
#include <QLabel>

#include "app/application_setup.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    SetUpApplication(app);
    QLabel placeholder(QStringLiteral("Korvel"));
    placeholder.show();
    return app.exec();
}
