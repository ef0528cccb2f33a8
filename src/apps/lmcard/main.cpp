// lmcard, the card maker.
#include <QMainWindow>

#include "platform/qt/card_application.h"
#include "platform/qt/qt_text.h"

int main(int argc, char** argv) {
  platform::CardApplication app(argc, argv, "Lumo贺卡制作 标准版");
  QMainWindow mainWindow;
  mainWindow.setObjectName("TForm1");
  mainWindow.setWindowTitle(platform::ToQString("Lumo贺卡制作 7.0 标准版"));
  mainWindow.setMinimumSize(400, 300);
  mainWindow.showMaximized();
  return app.exec();
}
