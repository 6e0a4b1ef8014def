// korvel-shots DIR OUT: renders the strategy wizard and the dialogs with the
// client folder DIR into PNG files in OUT (scripts/screenshots-dialogs.sh).
#include <cstdio>
#include <string>

#include <QApplication>

#include "app/application_setup.h"
#include "app/shots/dialog_shots.h"

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetUpApplication(app);
    if (argc != 3) {
        std::fprintf(stderr, "usage: korvel-shots DIR OUT\n");
        return 2;
    }
    return RenderDialogShots(argv[1], argv[2]);
}
