// lx47-config: the KD-LX47 configuration tool.
#include <QApplication>

#include "app/LX47ConfigToolApp.h"

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  lx47::app::LX47ConfigToolApp app;
  return app.Run();
}
