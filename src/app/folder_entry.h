#pragma once
// An entry holding a data folder, with its folder button and its "relative" check box, as the
// data location windows have it.
class QCheckBox;
class QLineEdit;

namespace saldora::app {

// Opens the folder dialog "Select path" at the entry's folder; the chosen folder goes into the
// entry, in relative form when `relative` is ticked. Cancelling leaves the entry as it was.
void chooseFolderInto(QLineEdit* entry, QCheckBox* relative);
// The entry's folder in relative form when it lies inside the current folder.
void makeEntryRelative(QLineEdit* entry);

} // namespace saldora::app
