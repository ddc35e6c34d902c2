// orxMain's helpers for a caller's forms and controls. Each step that fails is skipped (a
// control that lacks a property, a gap in a control array), so none of them raises.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace bk {

// Control arrays of option buttons: LBound, UBound and the element at an index (the array's
// default member).
LONG SelectedOptionButtonIndex(IDispatch* buttons);          // -1 when none is selected
void SelectOptionButton(IDispatch* buttons, LONG index);      // the lowest one when `index` is missing
void EnableOptionButtons(IDispatch* buttons, bool enable);    // the selected one first on, last off

// Clicks a command button (sets its Value) when it is enabled; whether the click went through.
bool PressCommandButton(IDispatch* button);

// Every control's font of a form becomes Times New Roman 10.5 italic, Cyrillic.
void SetFormFonts(IDispatch* form);
// Drop-down list combo boxes of a form get the hand cursor as their mouse pointer.
void SetComboBoxHandCursors(IDispatch* form);
// Shows `child` modally while `parent` waits off the left edge of the screen, then puts
// `parent` back where it was.
void ShowModalWithParentAside(IDispatch* parent, IDispatch* child);

}  // namespace bk
