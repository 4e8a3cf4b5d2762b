// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The jobs of a carrier, one line each:
//   X(Name, code, done event, works on both servers)
// Name gives the job method TFTPCarrier::Name() and the step TFTPCarrierThread::JobName() that
// the worker runs for it; the done event is TFTPCarrier's OnCarryDone or OnExploreDone. A new
// job is a line here and its step; Abort has a code of its own. StartJobFor() picks a job by the
// direction of a queue item and whether it is a folder.
#define QX_CARRIER_JOBS(X)                                                                         \
    X(Download, 0x0400, OnCarryDone, false)                                                        \
    X(Upload, 0x0401, OnCarryDone, false)                                                          \
    X(Transfer, 0x0402, OnCarryDone, true)                                                         \
    X(ExploreDownload, 0x0403, OnExploreDone, false)                                               \
    X(ExploreUpload, 0x0404, OnExploreDone, false)                                                 \
    X(ExploreTransfer, 0x0405, OnExploreDone, true)
