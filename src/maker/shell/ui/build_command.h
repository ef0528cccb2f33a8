#pragma once
// The build command ("生成贺卡文件(&M)", toolbar "生成贺卡文件"): asks for the card format
// (a plain card file, an EXE card or a web card), then for the output file, and builds it from
// the open design.
#include <QWidget>

#include "maker/shell/ui/designer_host.h"

namespace cardshell {

// Does nothing unless a card is open. Returns true when a card file was built.
bool RunBuildCommand(QWidget* parent, DesignerHost& designer);

}  // namespace cardshell
