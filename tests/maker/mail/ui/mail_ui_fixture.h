#pragma once
// What the mail dialog tests share: the application object, a registry of the test's own and
// a dialog made with the given settings.
#include <QApplication>
#include <cstdlib>
#include <memory>

#include "maker/mail/ui/mail_dialog.h"
#include "platform/scripted_dialogs.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

namespace mail_ui_test {

inline void EnsureApp() { testing_support::QtApp("mail_ui_tests"); }

struct DialogScope {
  testing_support::TempDir config;  // an empty registry: the DNS box comes from resolv.conf
  testing_support::TempDir files;
  platform::ScriptedDialogs dialogs;
  std::unique_ptr<mail_ui::TForm7> form;

  DialogScope() {
    EnsureApp();
    setenv("LMCARD_CONFIG_HOME", config.HostPath().c_str(), 1);
  }
  ~DialogScope() { form.reset(); }

  // A resolver configuration naming dnsServer, and the dialog made over it.
  mail_ui::TForm7& Make(const std::string& dnsServer, mail::MailerSettings settings = {}) {
    testing_support::WriteBytes(files.File("resolv.conf"), "# test\nnameserver " + dnsServer + "\n");
    mail_ui::MailDialogOptions options;
    options.mailer = std::move(settings);
    options.resolvConfPath = files.HostPath() + "resolv.conf";
    form = std::make_unique<mail_ui::TForm7>(nullptr, options);
    return *form;
  }
};

}  // namespace mail_ui_test
