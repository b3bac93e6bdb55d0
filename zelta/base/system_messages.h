// The system message table that result texts fall back to, standing in for the platform's.
//
// Codes of facility 7 (0x8007xxxx) carry a system error number in their low word, and a
// code below 0x10000 is such a number on its own (the "Operating system" facility passes
// only the low word). The numbers follow the classic system numbering that the host's I/O
// results already use (0x80070002 file not found, 0x80070005 access denied, 0x80070070
// disk full), and ResultFromErrno maps POSIX errno values onto them:
//
//   number  text (abridged)                       errno
//   0x0000  The operation completed successfully  0
//   0x0001  Incorrect function
//   0x0002  cannot find the file specified        ENOENT
//   0x0003  cannot find the path specified        ENOTDIR
//   0x0004  cannot open the file                  EMFILE, ENFILE
//   0x0005  Access is denied                      EACCES, EPERM, EISDIR
//   0x0006  The handle is invalid                 EBADF
//   0x0008  Not enough memory (command)
//   0x000E  Not enough memory (operation)         ENOMEM
//   0x0013  The media is write protected          EROFS
//   0x001D  cannot write to the device
//   0x001E  cannot read from the device
//   0x001F  A device ... is not functioning       EIO
//   0x0020  file is being used by another process EBUSY, ETXTBSY
//   0x0026  Reached the end of the file
//   0x0032  The request is not supported          ENOSYS, ENOTSUP, EOPNOTSUPP
//   0x0050  The file exists                       EEXIST
//   0x0057  The parameter is incorrect            EINVAL
//   0x0070  not enough space on the disk          ENOSPC, EDQUOT
//   0x007B  name syntax is incorrect
//   0x0091  The directory is not empty            ENOTEMPTY
//   0x00B7  file already exists
//   0x00CE  filename or extension is too long     ENAMETOOLONG
//   0x00DF  The file size exceeds the limit       EFBIG
//   0x010B  The directory name is invalid
//   0x04C7  canceled by the user                  ECANCELED
//   0x0570  file or directory is corrupted
//
// Besides these, the common interface results 0x80004001-0x80004005 and 0x8000FFFF.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "host/com.h"

namespace zelta::base {

// The system's text for a code, ending in a full stop where the system's does; nullopt for
// a code the table does not know.
std::optional<std::u16string> SystemMessage(uint32_t code);

// The facility-7 result for a POSIX errno value: 0 gives S_OK, an unmapped value E_FAIL.
HRESULT ResultFromErrno(int error);

}  // namespace zelta::base
