// korvel: the desktop program.
#include <QApplication>
#include <QCommandLineParser>

#include "app/application_setup.h"
#include "app/korvel_app.h"
#include "app/screenshots.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    SetUpApplication(application);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Korvel策略大师: A-share trading strategies bred for your stocks."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dir(QStringLiteral("dir"),
                                 QStringLiteral("The data folder (default: the current directory when it holds the "
                                                "database, else ~/.local/share/korvel)."),
                                 QStringLiteral("DIR"));
    QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                  QStringLiteral("Render the main windows into PNG files in DIR and end."),
                                  QStringLiteral("DIR"));
    screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({dir, screenshot});
    parser.process(application);

    AppOptions options;
    if (parser.isSet(dir)) options.dir = parser.value(dir).toStdString();
    options.startPage = !parser.isSet(screenshot);
    CKorvelApp app(options);
    if (parser.isSet(screenshot)) return app.PrepareData() ? RenderScreenshots(app, parser.value(screenshot)) : 1;
    if (!app.InitInstance()) return 0;
    return application.exec();
}
