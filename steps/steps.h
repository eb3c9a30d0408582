// The transfer steps the drivers chain and the full mode's single-step buttons run.
#pragma once

#include <string_view>

#include "steps/run_context.h"

namespace velmo::steps {

// ⑦ 圧縮: packs the send folder into the archive work file and enciphers that into the
// transfer work file.
void PackAndEncrypt(RunContext& run);
// ② 解凍: deciphers the transfer work file, tests the password, empties the save folder and
// unpacks the archive into it.
void DecryptAndUnpack(RunContext& run);
// ① Down: fetches the transfer work file from a folder or by HTTP GET.
void Download(RunContext& run);
// ⑧ Up: delivers the transfer work file to a folder or an FTP server.
void Upload(RunContext& run);
// ④ 消去: deletes both work files; the last step of every run.
void CleanUpWork(RunContext& run);

// True when `path` is a folder a file can be written into, other than the program's own.
bool ProbeFolder(const RunContext& run, std::string_view path);

}  // namespace velmo::steps
