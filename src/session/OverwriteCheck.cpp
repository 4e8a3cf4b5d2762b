// SPDX-License-Identifier: GPL-3.0-or-later
// Before a transfer of the session replaces a file: the owner's answer decides. A Rename
// changes the file of the transfer under way, a Resume the resume flag.
#include "session/FTPClientThread.h"
#include "session/TargetGuard.h"
#include "session/ThreadedFTPClient.h"

namespace qx {

TFTPClientThread::TGoAhead TFTPClientThread::CheckTarget(bool upload, bool& resume) {
    const TThreadedFTPClient& client = *m_client;
    if (!AsksBeforeOverwrite()) {
        return TGoAhead::Transfer; // files are replaced, as ever
    }
    TTargetGuard guard(*m_driver, OverwriteAsker(), &m_answerForAll);
    const bool binary = m_driver->Binary();
    return upload
               ? guard.Upload(m_localFile, m_remoteFile, binary, client.ResumeSupported, resume)
               : guard.Download(m_remoteFile, m_localFile, binary, client.ResumeSupported, resume);
}

} // namespace qx
