#include "zelta/base/system_messages.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace zelta::base {
namespace {

TEST(SystemMessage, BareNumbersAndUnknownCodes) {
  // The operating-system facility passes only the low word.
  EXPECT_EQ(SystemMessage(0x57u), u"The parameter is incorrect.");
  EXPECT_FALSE(SystemMessage(0x80071234u));
  EXPECT_FALSE(SystemMessage(0x1234u));
  EXPECT_FALSE(SystemMessage(0x821F1001u));
  // Facility 7 only: the same low word under another facility is unknown.
  EXPECT_FALSE(SystemMessage(0x80080057u));
}

TEST(ResultFromErrno, MapsOntoDescribedCodes) {
  EXPECT_EQ(ResultFromErrno(0), zelta::S_OK);
  EXPECT_EQ(ResultFromErrno(ENOENT), zelta::E_FILE_NOT_FOUND);
  EXPECT_EQ(ResultFromErrno(EACCES), zelta::E_ACCESS_DENIED);
  EXPECT_EQ(ResultFromErrno(ENOSPC), zelta::E_DISK_FULL);
  EXPECT_EQ(ResultFromErrno(ENOMEM), zelta::E_OUTOFMEMORY);
  EXPECT_EQ(ResultFromErrno(EINVAL), zelta::E_INVALIDARG);
  EXPECT_EQ(ResultFromErrno(EXDEV), zelta::E_FAIL);
  // Every mapped errno has a text, so a failed file operation is always described.
  for (int error : {ENOENT, ENOTDIR, EMFILE, ENFILE,    EACCES,       EPERM,  EISDIR,     EBADF,
                    ENOMEM, EROFS,   EIO,    EBUSY,     ETXTBSY,      ENOSYS, EOPNOTSUPP, EEXIST,
                    EINVAL, ENOSPC,  EDQUOT, ENOTEMPTY, ENAMETOOLONG, EFBIG,  ECANCELED}) {
    zelta::HRESULT result = ResultFromErrno(error);
    EXPECT_EQ(static_cast<uint32_t>(result) & 0xFFFF0000u, 0x80070000u) << error;
    EXPECT_TRUE(SystemMessage(static_cast<uint32_t>(result))) << "errno " << error;
  }
}

}  // namespace
}  // namespace zelta::base
