// The registry store: any bytes are read as the store's file; every key and value it lists is
// read, and so are the DNS server settings that the mail sender looks for there.
#include "fuzz_support.h"
#include "maker/mail/dns_discovery.h"
#include "platform/profile.h"
#include "platform/registry.h"

namespace registry = platform::registry;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string store = (fuzz::Folder(), registry::StorePath());
  platform::profile::InMemoryFile file(store, fuzz::AsText(data, size));
  for (const std::string& section : platform::profile::SectionNames(store)) {
    for (auto [prefix, hive] : {std::pair{std::string_view("HKEY_CURRENT_USER\\"), registry::Hive::CurrentUser},
                                std::pair{std::string_view("HKEY_LOCAL_MACHINE\\"), registry::Hive::LocalMachine}}) {
      if (section.size() <= prefix.size() || section.compare(0, prefix.size(), prefix) != 0) continue;
      const std::string key = section.substr(prefix.size());
      registry::KeyExists(hive, key);
      for (const std::string& name : registry::ValueNames(hive, key)) registry::ReadString(hive, key, name);
    }
  }
  for (bool nt : {true, false}) {
    if (mail::DnsServerFromRegistry(nt).find(',') != std::string::npos) __builtin_trap();
  }
  return 0;
}
