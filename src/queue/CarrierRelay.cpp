// SPDX-License-Identifier: GPL-3.0-or-later
// A copy with an SFTP side: the servers cannot exchange the data themselves, so the carrier
// reads the source on its own thread and writes the destination on a second one, joined by a
// ring of a few MiB. A full ring holds the download back, and the source's server then waits
// in its own window: memory stays the same whatever the file's size.

#include "queue/FTPCarrierThread.h"
#include "queue/RelayDestination.h"
#include "queue/RelayRing.h"

namespace qx {

TRelayDestination::TPlan TFTPCarrierThread::RelayPlan(const std::string& target,
                                                      std::int64_t sourceSize,
                                                      std::optional<std::int64_t> sourceTime,
                                                      bool resume) {
    const TThreadedFTPCarrier& carrier = *m_carrier;
    TRelayDestination::TPlan plan;
    plan.Sftp = IsSftp(Destination);
    // Read on the destination's thread while this one waits for it.
    plan.ConfigureFtp = [this](TFtpClientEx& engine) { ApplyFtpSettings(Destination, engine); };
    plan.Tag = Driver(Destination).Tag;
    plan.Site = SftpSite(Destination);
    plan.AskSsh = SshAsker();
    plan.Hooks.Deliver = DeliveryHooks().Deliver;
    if (plan.Sftp) {
        // Its lines carry the server in brackets like the engine drivers'.
        plan.Hooks.Deliver = [deliver = plan.Hooks.Deliver,
                              tag = plan.Tag.empty() ? plan.Site.Host
                                                     : plan.Tag](const std::string& line) {
            deliver(line.size() < 2 ? line
                                    : line.substr(0, 2) + "[" + tag + "]: " + line.substr(2));
        };
    }
    // Progress is the source's: what has been read is what moves.
    plan.Login = PlanLogin(carrier.ConnectRetry, false);
    plan.Login.ReportAttempts = true;
    plan.Login.BusyRetrySeconds = carrier.BusyRetrySeconds;
    plan.Binary = BinaryType(carrier.DestTransferType);
    plan.UploadToTemporaryName = carrier.UploadToTemporaryName;
    plan.Target = target;
    plan.Resume = resume;
    plan.ResumeSupported = ResumeSupported(Source);
    plan.SourceSize = sourceSize;
    plan.SourceTime = sourceTime;
    if (AsksBeforeOverwrite()) {
        plan.Ask = OverwriteAsker();
    }
    return plan;
}

void TFTPCarrierThread::RelayCopy() {
    TThreadedFTPCarrier& carrier = *m_carrier;
    const std::string sourceFile = carrier.SrcPath + carrier.FileName;
    const std::string destinationFile = carrier.DestPath + carrier.FileName;
    if (CopiesOntoItself(sourceFile, destinationFile, false) || !Login(Source) || !ProbeRestart() ||
        !SetType(Source)) {
        return;
    }
    TRemoteProtocol& source = Remote(Source);
    std::int64_t size = -1;
    if (source.Size(sourceFile, size) == 2) {
        return;
    }
    source.ClearFailure(); // a server that tells no size copies without the size checks
    std::optional<std::int64_t> time;
    if (AsksBeforeOverwrite()) {
        time = source.ModifiedTime(sourceFile);
        if (source.Aborted()) {
            return;
        }
    }
    // Offsets only mean the same on both sides in binary mode.
    const bool binary = source.Binary() && BinaryType(carrier.DestTransferType);
    const bool resume = carrier.ResumeTransfer && ResumeSupported(Source) && binary;

    const auto aborted = [this] { return AbortFlag.load(); };
    TRelayRing ring(TRelayRing::kCapacity, aborted);
    TRelayDestination destination(RelayPlan(destinationFile, binary ? size : -1, time, resume),
                                  ring);
    destination.Start();
    if (destination.WaitForOffer(aborted)) {
        // A name chosen in the question may be the source's.
        const bool go = !CopiesOntoItself(sourceFile, destination.Target(), false);
        destination.Go(go);
        if (go) {
            source.DownloadTo(sourceFile, ring, destination.StartAt(), binary ? size : -1);
            if (Failed()) {
                ring.Fail(Aborted() ? "Operation aborted." : carrier.ErrorMessage);
            } else {
                ring.Close();
            }
        }
    }
    if (Aborted()) {
        destination.Abort();
    }
    destination.Join(aborted);
    if (destination.ResultCode() != 0 && (!Failed() || destination.FailedFirst())) {
        carrier.ResultCode = destination.ResultCode();
        carrier.ErrorMessage = destination.ErrorMessage();
    }
    if (!Failed()) {
        QuitIfDone(Source);
    }
}

} // namespace qx
