// lmcard, the card maker.
#include <QCoreApplication>
#include <QStringList>
#include <memory>

#include "maker/shell/ui/card_maker.h"
#include "maker/shell/ui/card_designer.h"
#include "maker/shell/ui/main_window.h"
#include "platform/qt/card_application.h"
#include "platform/qt/qt_text.h"

int main(int argc, char** argv) {
  platform::CardApplication app(argc, argv, cardshell::kApplicationTitle);
  cardshell::CardMaker maker(std::make_unique<cardshell::CardDesigner>());
  // A design or template opened from the file manager comes as the one argument.
  const QStringList args = QCoreApplication::arguments();
  if (args.size() > 1) maker.SetStartFile(platform::FromQString(args[1]));
  maker.Start();
  return app.exec();
}
