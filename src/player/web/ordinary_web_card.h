#pragma once
// An ordinary card as a web card. The card's rules — where it comes up and travels, what a
// click, a double click or the time does, the greeting's entrance and scrolling, the order of
// the music and the voice, what closing opens — run in the page as the ordinary card player
// compiled to WebAssembly. The page gets what it draws ready-made: the card picture (GIF
// frames with their delays), the greeting box picture and the greeting's lines drawn in its
// font, the media as data: addresses (music and movies the browser cannot play converted).
#include <string>
#include <vector>

#include "maker/ordinary/ordinary_settings.h"
#include "player/web/web_page.h"

namespace web {

// The card's data for card_host.js (kind "ordinary"). settings: media paths as files.
// convert: turns MIDI music and movies into media a browser plays (may be empty). Media that
// could not be used are added to leftOut (their paths) when it is given.
std::string OrdinaryCardJson(const ordinary::OrdinarySettings& settings, const MediaConverter& convert = {},
                             std::vector<std::string>* leftOut = nullptr);

// Writes the web card to outPath (system path); platform::FileError when it cannot. Answers the
// media files the card has to play without (a kind the browser cannot play, not converted).
std::vector<std::string> WriteOrdinaryWebCard(const ordinary::OrdinarySettings& settings, const std::string& outPath,
                                              const MediaConverter& convert = {});

}  // namespace web
