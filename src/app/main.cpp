// lx47-config: the KD-LX47 configuration tool.
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/LX47ConfigToolApp.h"
#include "app/app_icon.h"
#include "app/quit_signal.h"

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  QApplication::setWindowIcon(lx47::app::AppIcon());
  // Qt's own texts (message-box buttons, the file dialog, the edit menus) in
  // Japanese like the rest of the tool, whatever the desktop's language; a
  // Windows installation keeps the file in "translations" beside the program.
  QTranslator qtTexts;
  if (qtTexts.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      qtTexts.load(QStringLiteral("qtbase_ja"), QCoreApplication::applicationDirPath() + QStringLiteral("/translations")))
    QCoreApplication::installTranslator(&qtTexts);
  // Matches the installed desktop entry, so that docks and Wayland
  // compositors show the entry's name and icon for the window.
  QGuiApplication::setDesktopFileName(QStringLiteral("lx47-config"));
  lx47::app::LX47ConfigToolApp app;
  lx47::app::QuitOnTerminationRequest(app.session());
  return app.Run();
}
