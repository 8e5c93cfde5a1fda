#pragma once

#include "core/services/work_progress.h"
#include "export/export_outcome.h"
#include "export/export_plan.h"

namespace tavrola {

// Runs a prepared export on the calling thread (a worker's): works out the performance Start
// would play, refuses it if it does not fit, then writes the file (a video: its sound, then its
// pictures through the encoder) and commits it, reporting its progress and stopping once
// cancelled. However it ends short of its rename, its files are gone at once.
ExportOutcome RunExport(const ExportPlan& plan, WorkProgress& progress);

}  // namespace tavrola
