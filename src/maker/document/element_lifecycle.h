#pragma once
// Creating, deleting and clearing the elements of a card document: Tags from the numbering
// counters, Ind from Zorder, compact tables, the selector list and the canvas stacking kept
// in step.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "maker/document/card_document.h"

namespace document {

// Create operations. Each appends the element at position count + 1, gives it the next Tag
// (and, except sounds, the next Zorder value as Ind), appends its shown name to the selector,
// puts its control on top of the canvas stacking and selects it. They return the new Tag.
// A full table (160) raises platform::Error with CapacityMessage(kind).
int CreatelmTxt(CardDocument& doc, std::string_view prefix = kLabelPrefix);
int CreateSpeedbutton(CardDocument& doc, std::string_view prefix = kButtonPrefix);
// Loads the picture (image path rule) for its natural size; a picture that cannot be loaded
// raises platform::LoadError before anything is counted, so nothing is left half-made.
int CreateLmImage(CardDocument& doc, std::string_view path);
int CreateLmGif(CardDocument& doc, std::string_view path);
int CreateWav(CardDocument& doc, std::string_view path);
int CreatelmFlash(CardDocument& doc, std::string_view path);
int createlmscl(CardDocument& doc, std::string_view prefix = kSclPrefix);
// The picture show box (at most one; callers check HasPics or use InsertPics).
void CreatePics(CardDocument& doc);

// Delete operations by Tag: the last element of the kind moves into the gap, the selector
// entry goes, and the kind's restack runs. They return the controls brought to the front,
// in order (the canvas follows it). Counters are never decremented.
std::vector<ElementRef> DellmTxt(CardDocument& doc, int tag);
std::vector<ElementRef> DelSpeedbutton(CardDocument& doc, int tag);
std::vector<ElementRef> DelLmImage(CardDocument& doc, int tag);
std::vector<ElementRef> DelLmGif(CardDocument& doc, int tag);
std::vector<ElementRef> DelLMWav(CardDocument& doc, int tag);
std::vector<ElementRef> DellmFlash(CardDocument& doc, int tag);
std::vector<ElementRef> DelLmScl(CardDocument& doc, int tag);
std::vector<ElementRef> DeleteElement(CardDocument& doc, ElementRef ref);
// Frees the picture show box, removes its selector entry, clears its list, resets its settings.
void DeletePics(CardDocument& doc);

// Empties the design: every element, counter and Zorder, the .crd3 flag, the show box; the
// selector holds only "贺卡窗口" and the card window is selected. Card window properties stay.
void DelAll(CardDocument& doc);

// The delete command's kind detection: the selector entry's leading GBK bytes name the kind
// and the rest is the Tag (platform::ConvertError when it is not a number). Nothing for the
// card window entry or an unknown text.
std::optional<ElementRef> ParseSelectorEntry(std::string_view entry);
// The delete command on a selector entry (index above 0): deletes that element and selects
// the card window. Returns false when the entry names no element kind.
bool DeleteSelectorEntry(CardDocument& doc, std::string_view entry);

// Insert rules of the insert commands. A 161st element of a kind is refused with a message;
// a second picture show box is refused with "每个贺卡中只允许一个“图像展示框”存在。".
// Both messages go through platform::ShowMessage (error icon); the result says whether the
// insertion may go ahead.
bool CanInsert(const CardDocument& doc, ElementKind kind);
std::string CapacityMessage(ElementKind kind);
inline constexpr std::string_view kOnePicsBoxMessage = "每个贺卡中只允许一个“图像展示框”存在。";
bool InsertPics(CardDocument& doc);  // CanInsert + CreatePics

// Insert command dialog filters and titles.
inline constexpr std::string_view kPictureFilter =
    "所有图片 (*.jpg;*.jpeg;*.bmp;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp;*.emf;*.wmf|JPEG 图像 (*.jpg;*.jpeg)|"
    "*.jpg;*.jpeg|位图 (*.bmp)|*.bmp|元文件和增强的元文件 (*.wmf;*.emf)|*.wmf;*.emf";
inline constexpr std::string_view kGifFilter = "GIF 动画 (*.gif)|*.gif";
inline constexpr std::string_view kSoundFilter = "声音文件 (*.wav)|*.wav";
inline constexpr std::string_view kFlashFilter = "Flash 电影 (*.swf;*.spl)|*.swf;*.spl";
inline constexpr std::string_view kDeleteAllQuestion = "确实要删除所有对象吗？";

// Selecting: an element (returns the restack order of a selection) or the card window.
std::vector<ElementRef> SelectElement(CardDocument& doc, ElementRef ref);
void SelectCardWindow(CardDocument& doc);

}  // namespace document
