#include "player/interactive_ui/player_main.h"

#include <QStringList>
#include <QTimer>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/qt/card_application.h"
#include "platform/qt/qt_text.h"
#include "player/card_source.h"
#include "player/interactive_ui/card_window.h"

namespace cardplayer {

int RunInteractivePlayer(int argc, char** argv) {
  platform::CardApplication app(argc, argv, "互动型贺卡");
  std::vector<std::string> args;
  const QStringList all = QCoreApplication::arguments();
  for (int i = 1; i < all.size(); ++i) args.push_back(platform::FromQString(all[i]));
  player::OpenedCard card;
  try {
    card = player::OpenCard(args, player::SelfProgramPath());
  } catch (const platform::Error& e) {
    // The box runs inside the event loop, so that a program asked to quit ends with it.
    const std::string text = e.what();
    QTimer::singleShot(0, &app, [text] {
      platform::ShowMessage(text, platform::MsgIcon::Error);
      QCoreApplication::exit(1);
    });
    app.exec();
    return 1;
  }
  player::ShellLauncher launcher;
  CardWindow window(card, launcher);
  window.show();
  return app.exec();
}

}  // namespace cardplayer
