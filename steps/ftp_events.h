// The FTP and POP3 components' trace and data events as the upload step reports them.
#pragma once

#include <cstdint>
#include <string>

#include "net/ftp.h"
#include "net/pop3.h"
#include "steps/run_context.h"

namespace velmo::steps {

// Commands sent and replies received go to the detail line and the run log.
void FTPTrace(RunContext& run, const std::string& s, net::TTraceLevel level);
// Bytes sent or received go to the counter and the detail line.
void FTPDataReceived(RunContext& run, net::t_ftp_mode mode, std::int32_t bytes);

// Puts the components into the run and points their events at it, as the window's form does:
// FTP stores files in blocking mode, both report through FTPTrace.
void AttachComponents(RunContext& run, net::T_FTP& ftp, net::T_Pop3& pop);

}  // namespace velmo::steps
