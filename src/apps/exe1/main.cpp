// exe1.exe, the ordinary card player: plays the card appended to its own file, or the ".crd1"
// file named as its argument.
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "platform/qt/card_application.h"
#include "player/ordinary_ui/player_program.h"
#include "player/ordinary_ui/ordinary_player_window.h"

namespace opu = ordinary_player_ui;

int main(int argc, char** argv) {
  // The player draws with the raster engine only. Without this, the GStreamer movie path tries
  // to share an OpenGL context and stops after the first frame where the X server has no GL.
  setenv("QT_XCB_GL_INTEGRATION", "none", 0);
  platform::CardApplication app(argc, argv, "Lumo贺卡");
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(platform::paths::FromHost(argv[i]));
  opu::RemoveStaleMediaFolders();
  const std::string folder = opu::RunMediaFolder();
  std::optional<opu::UnpackedCard> card;
  std::unique_ptr<opu::TForm5> form;
  bool failed = false;
  // The card opens inside the event loop, so that its messages are part of the running program.
  QTimer::singleShot(0, &app, [&] {
    card = opu::OpenCardForPlaying(args, opu::OwnProgramFile(), folder);
    if (!card) {
      failed = true;
      QCoreApplication::exit(1);
      return;
    }
    QIcon icon = opu::CardWindowIcon(*card);
    if (!icon.isNull()) QApplication::setWindowIcon(icon);
    form = std::make_unique<opu::TForm5>(card->settings);
    if (!icon.isNull()) form->setWindowIcon(icon);
    QObject::connect(form.get(), &opu::TForm5::Closed, &app, [] { QCoreApplication::quit(); });
    form->Start();
  });
  int code = app.exec();
  form.reset();
  if (card) opu::RemoveUnpackedFiles(*card, folder);
  return failed ? 1 : code;
}
