#include "zelta/base/system_messages.h"

#include <cerrno>

namespace zelta::base {
namespace {

struct SystemText {
  uint32_t number;
  const char16_t* text;
};

// System error numbers, carried in the low word of facility-7 codes.
constexpr SystemText kErrorTexts[] = {
    {0x0000, u"The operation completed successfully."},
    {0x0001, u"Incorrect function."},
    {0x0002, u"The system cannot find the file specified."},
    {0x0003, u"The system cannot find the path specified."},
    {0x0004, u"The system cannot open the file."},
    {0x0005, u"Access is denied."},
    {0x0006, u"The handle is invalid."},
    {0x0008, u"Not enough memory resources are available to process this command."},
    {0x000E, u"Not enough memory resources are available to complete this operation."},
    {0x0013, u"The media is write protected."},
    {0x001D, u"The system cannot write to the specified device."},
    {0x001E, u"The system cannot read from the specified device."},
    {0x001F, u"A device attached to the system is not functioning."},
    {0x0020, u"The process cannot access the file because it is being used by another process."},
    {0x0026, u"Reached the end of the file."},
    {0x0032, u"The request is not supported."},
    {0x0050, u"The file exists."},
    {0x0057, u"The parameter is incorrect."},
    {0x0070, u"There is not enough space on the disk."},
    {0x007B, u"The filename, directory name, or volume label syntax is incorrect."},
    {0x0091, u"The directory is not empty."},
    {0x00B7, u"Cannot create a file when that file already exists."},
    {0x00CE, u"The filename or extension is too long."},
    {0x00DF, u"The file size exceeds the limit allowed and cannot be saved."},
    {0x010B, u"The directory name is invalid."},
    {0x04C7, u"The operation was canceled by the user."},
    {0x0570, u"The file or directory is corrupted and unreadable."},
};

// Whole result codes outside facility 7.
constexpr SystemText kResultTexts[] = {
    {0x80004001u, u"Not implemented"},   {0x80004002u, u"No such interface supported"},
    {0x80004003u, u"Invalid pointer"},   {0x80004004u, u"Operation aborted"},
    {0x80004005u, u"Unspecified error"}, {0x8000FFFFu, u"Catastrophic failure"},
};

constexpr uint32_t kFacilityWin32Mask = 0xFFFF0000u;
constexpr uint32_t kFacilityWin32Error = 0x80070000u;

template <size_t N>
std::optional<std::u16string> Lookup(const SystemText (&table)[N], uint32_t key) {
  for (const SystemText& row : table)
    if (row.number == key) return std::u16string(row.text);
  return std::nullopt;
}

HRESULT FromNumber(uint32_t number) { return static_cast<HRESULT>(kFacilityWin32Error | number); }

}  // namespace

std::optional<std::u16string> SystemMessage(uint32_t code) {
  if (code <= 0xFFFFu) return Lookup(kErrorTexts, code);
  if ((code & kFacilityWin32Mask) == kFacilityWin32Error)
    return Lookup(kErrorTexts, code & 0xFFFFu);
  return Lookup(kResultTexts, code);
}

HRESULT ResultFromErrno(int error) {
  switch (error) {
    case 0:
      return zelta::S_OK;
    case ENOENT:
      return FromNumber(0x0002);
    case ENOTDIR:
      return FromNumber(0x0003);
    case EMFILE:
    case ENFILE:
      return FromNumber(0x0004);
    case EACCES:
    case EPERM:
    case EISDIR:
      return FromNumber(0x0005);
    case EBADF:
      return FromNumber(0x0006);
    case ENOMEM:
      return FromNumber(0x000E);
    case EROFS:
      return FromNumber(0x0013);
    case EIO:
      return FromNumber(0x001F);
    case EBUSY:
    case ETXTBSY:
      return FromNumber(0x0020);
    case ENOSYS:
    case EOPNOTSUPP:
      return FromNumber(0x0032);
#if ENOTSUP != EOPNOTSUPP
    case ENOTSUP:
      return FromNumber(0x0032);
#endif
    case EEXIST:
      return FromNumber(0x0050);
    case EINVAL:
      return FromNumber(0x0057);
    case ENOSPC:
    case EDQUOT:
      return FromNumber(0x0070);
    case ENOTEMPTY:
      return FromNumber(0x0091);
    case ENAMETOOLONG:
      return FromNumber(0x00CE);
    case EFBIG:
      return FromNumber(0x00DF);
    case ECANCELED:
      return FromNumber(0x04C7);
    default:
      return zelta::E_FAIL;
  }
}

}  // namespace zelta::base
