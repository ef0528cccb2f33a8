#pragma once
// The registry stand-in: HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE values kept in a small
// INI store under the user's configuration folder ($LMCARD_CONFIG_HOME, else
// $XDG_CONFIG_HOME/lmcard, else ~/.config/lmcard), one section per key path.
// Key paths and value names match without regard to case, as on Windows.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::registry {

enum class Hive { CurrentUser, LocalMachine };

// The value of name under key ("Software\\Microsoft\\..."); "" names the key's default value.
std::optional<std::string> ReadString(Hive hive, std::string_view key, std::string_view name);
// False when the store cannot be written.
bool WriteString(Hive hive, std::string_view key, std::string_view name, std::string_view value);
bool DeleteValue(Hive hive, std::string_view key, std::string_view name);
bool KeyExists(Hive hive, std::string_view key);
std::vector<std::string> ValueNames(Hive hive, std::string_view key);

// The store file as a system path (for tests and diagnostics).
std::string StorePath();

}  // namespace platform::registry
