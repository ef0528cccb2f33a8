// lmflashcard, the Flash card wizard.
#include <QScreen>
#include <QStringList>
#include <string>
#include <vector>

#include "flashwizard/ui/flash_maker_form.h"
#include "flashwizard/ui/wizard_rules.h"
#include "platform/qt/card_application.h"
#include "platform/qt/qt_text.h"

int main(int argc, char** argv) {
  platform::CardApplication app(argc, argv, "生成Flash贺卡 - Lumo贺卡制作");
  std::vector<std::string> args;
  const QStringList all = QCoreApplication::arguments();
  for (int i = 1; i < all.size(); ++i) args.push_back(platform::FromQString(all[i]));
  flashwizard::ui::TpvFlashMakerForm wizard(flashwizard::ui::TemplateNameFromArgs(args));
  if (QScreen* s = app.primaryScreen()) wizard.move(s->availableGeometry().center() - wizard.rect().center());
  wizard.show();
  return app.exec();
}
