// lmflashcard, the Flash card wizard.
#include <QMainWindow>
#include <QScreen>

#include "platform/qt/card_application.h"
#include "platform/qt/qt_text.h"

int main(int argc, char** argv) {
  platform::CardApplication app(argc, argv, "生成Flash贺卡 - Lumo贺卡制作");
  QMainWindow wizard;
  wizard.setObjectName("TpvFlashMakerForm");
  wizard.setWindowTitle(platform::ToQString("生成Flash贺卡 - Lumo贺卡制作 7.0"));
  wizard.resize(800, 600);
  if (QScreen* s = app.primaryScreen()) wizard.move(s->availableGeometry().center() - wizard.rect().center());
  wizard.show();
  return app.exec();
}
