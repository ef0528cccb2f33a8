#pragma once
// The help and web commands of the card maker: the help pages in the program folder's "help"
// folder, and the maker's addresses (support mail, web site, announcements, home pages).
#include <string_view>

namespace cardshell {

inline constexpr std::string_view kSupportMail = "mailto:support@pavo-soft.example";
inline constexpr std::string_view kMakerSite = "https://www.pavo-soft.example/";
inline constexpr std::string_view kAnnouncementPage = "https://www.pavo-soft.example/news.htm";
inline constexpr std::string_view kSupportSite = "https://www.pavo-soft.example/support.htm";
inline constexpr std::string_view kLumoHome = "https://www.lumo-cards.example/";
inline constexpr std::string_view kLumoSoftHome = "https://www.lumo-cards.example/soft/";
inline constexpr std::string_view kProductHome = "https://www.lumo-cards.example/lmcard/";
// The advertising pictures of the gallery: one page for the first page, another for the rest.
inline constexpr std::string_view kGalleryAdOrdinary = "https://www.lumo-cards.example/templates.htm";
inline constexpr std::string_view kGalleryAdOthers = "https://www.lumo-cards.example/flash.htm";

// The contents of the help ("目录和索引(&C)", toolbar "帮助"). The shell's result is ignored.
void OpenHelpContents();
// Help on a topic page ("pn1.htm", "hdhk.htm"), for the other windows.
void OpenHelpTopic(std::string_view topic);
// A web page or mail address of the maker. The shell's result is ignored.
void OpenAddress(std::string_view address);

}  // namespace cardshell
