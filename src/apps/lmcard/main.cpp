// lmcard, the card maker.
#include <memory>

#include "maker/shell/ui/card_maker.h"
#include "maker/shell/ui/card_designer.h"
#include "maker/shell/ui/main_window.h"
#include "platform/qt/card_application.h"

int main(int argc, char** argv) {
  platform::CardApplication app(argc, argv, cardshell::kApplicationTitle);
  cardshell::CardMaker maker(std::make_unique<cardshell::CardDesigner>());
  maker.Start();
  return app.exec();
}
