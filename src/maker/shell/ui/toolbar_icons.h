#pragma once
// The card maker's toolbar and toolbox icons, drawn at run time so that they are sharp at
// every size the toolbars use (16, 24 and 32 pixels).
#include <QIcon>
#include <QPixmap>

namespace cardshell {

enum class ShellIcon {
  // quick toolbar
  New, Open, Save, Preview, Build, Send, Help, Home, News,
  // control toolbox
  Label, Button, Image, Gif, Sound, Video, Flash, Caption, PicsBox,
  // the program's own icon
  Program,
};

QIcon MakeShellIcon(ShellIcon id);
QPixmap DrawShellIcon(ShellIcon id, int size);

}  // namespace cardshell
