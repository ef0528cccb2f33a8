#pragma once
// Which element controls come to the front, in which order, after a delete, a selection and
// the opening of a design. The document keeps the canvas drawing order (CardDocument::stacking)
// so the canvas only follows what these return.
#include <vector>

#include "maker/document/card_document.h"

namespace document {

// Whether bringing a control to the front has an effect on it (every kind but the show box).
bool CanBringToFront(ElementKind kind);

// After deleting an element of `deleted`: for z = 1 … Zorder, buttons, images, GIFs, Flash
// movies, labels (only when a label or a Flash movie was deleted) and scrolling captions
// whose Ind is z. Nothing after deleting a sound.
std::vector<ElementRef> FrontOrderAfterDelete(const CardDocument& doc, ElementKind deleted);
// After selecting an element: captions, labels, buttons, Flash movies by ascending Ind,
// then every sound in table order. Images and GIFs stay where they are.
std::vector<ElementRef> FrontOrderAfterSelect(const CardDocument& doc);
// After reading a design: for z = 1 … Zorder, buttons, images, GIFs, Flash movies, labels
// and scrolling captions whose Ind is z.
std::vector<ElementRef> FrontOrderAfterOpen(const CardDocument& doc);

// Moves each control of `order` (that can come to the front) to the top of doc.stacking.
void BringToFront(CardDocument& doc, const std::vector<ElementRef>& order);
// FrontOrderAfterOpen applied to the document; returns it for the canvas.
std::vector<ElementRef> RestackAfterOpen(CardDocument& doc);

}  // namespace document
