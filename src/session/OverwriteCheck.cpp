// Before a transfer of the session replaces a file: the owner's answer decides.
#include "engine/FtpClientEx.h"
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
    TFtpClientEx& engine = Engine();
    const bool binary = engine.Binary();
    const TTargetGuard::TGoAhead outcome =
        upload ? guard.Upload(engine.LocalFileName, engine.HostFileName, binary,
                              client.ResumeSupported, resume)
               : guard.Download(engine.HostFileName, engine.LocalFileName, binary,
                                client.ResumeSupported, resume);
    switch (outcome) {
    case TTargetGuard::TGoAhead::Transfer:
        return TGoAhead::Transfer;
    case TTargetGuard::TGoAhead::Skip:
        return TGoAhead::Skip;
    case TTargetGuard::TGoAhead::Cancel:
        break;
    }
    return TGoAhead::Cancel;
}

} // namespace qx
