// Small helpers the viewer's dialogs share for their controls.
#pragma once

#include <windows.h>

#include <string>

namespace glimmora::device::dialogs {

// Fills a drop-down list with the five orientation items, in index order.
void FillOrientationList(HWND list);

// Selects `index` (-1: no item).
void SelectListItem(HWND list, int index);
int SelectedListItem(HWND list);  // -1 when none is selected

void SetChecked(HWND dialog, int id, bool checked);
bool IsChecked(HWND dialog, int id);

// Registers the common controls the dialogs use (up-down, tree) once per process.
void EnsureCommonControls();

// The module whose resources hold the dialog templates: the running program, which links
// them in.
HINSTANCE ResourceModule();

}  // namespace glimmora::device::dialogs
