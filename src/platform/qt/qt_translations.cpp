#include "platform/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace platform {

bool InstallQtTranslations(std::string* why) {
  static QTranslator* installed = nullptr;
  if (installed) return true;
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QStringLiteral("qtbase_zh_CN"), folder)) {
    delete translator;
    if (why) *why = "qtbase_zh_CN.qm not found in " + folder.toStdString();
    return false;
  }
  QCoreApplication::installTranslator(translator);
  installed = translator;
  return true;
}

}  // namespace platform
