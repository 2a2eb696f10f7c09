// What both programs do first in main(): standard descriptors that cannot be mistaken for files,
// and signals that end a run without leaving part files or half-written pages.
#pragma once

namespace moza {

/// Call first thing in main(), before any file is opened or thread started. Opens the null device
/// on each of descriptors 0, 1 and 2 that is closed (as under cron or `>&-`), so that no page
/// file is given one of their numbers and gets messages or page paths written into it; then
/// installs the interrupt handling of RemovePartFilesOnInterrupt(). Nothing in it can fail the
/// run: a descriptor that cannot be opened stays closed.
void PrepareProcess();

}  // namespace moza
