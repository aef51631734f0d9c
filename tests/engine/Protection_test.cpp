// Protected outputs as readers meet them: which password opens them and what they allow.
#include "MergeTestSupport.h"
#include "PdfMaker.h"
#include "PdfReadBack.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

struct Encryption {
  bool encrypted = false;
  std::string revision, permissions;
  bool ownerAccepted = false;
};

// What qpdf reports, opening the file with the given password.
Encryption ShowEncryption(const std::string &pdf, const std::string &password) {
  int status = 0;
  const std::string out = RunCommand(
      "qpdf --show-encryption --password='" + password + "' '" + pdf + "' 2>&1", &status);
  Encryption e;
  e.encrypted = out.find("File is not encrypted") == std::string::npos && status == 0;
  auto value = [&out](const std::string &key) {
    const size_t at = out.find(key);
    if (at == std::string::npos)
      return std::string();
    const size_t end = out.find('\n', at);
    return out.substr(at + key.size(), end - at - key.size());
  };
  e.revision = value("R = ");
  e.permissions = value("P = ");
  e.ownerAccepted = out.find("Supplied password is owner password") != std::string::npos;
  return e;
}

class Protection : public ::testing::Test {
protected:
  TempDir dir;
  MergerTool job;

  void SetUp() override {
    MakeNumberedPdf(dir.file("a.pdf"), 1);
    job.SetLayout(1, 0, 0);
    job.AppendMergeSrc(0, Wide(dir.file("a.pdf")).c_str(), 1, nullptr, nullptr);
  }
  std::string Run() {
    job.SetOutPDFPath(Wide(dir.file("out.pdf")).c_str());
    EXPECT_TRUE(job.StartMerge(0));
    return dir.file("out.pdf");
  }
};

TEST_F(Protection, NoPasswordMeansNoEncryptionWhateverTheSwitches) {
  job.SetPemissionPwd(nullptr, true, true, true);
  const std::string out = Run();
  EXPECT_FALSE(ShowEncryption(out, "").encrypted);
}

TEST_F(Protection, PermissionPasswordOnlyOpensFreelyAndGrantsNothing) {
  job.SetPemissionPwd("owner", false, false, false);
  const std::string out = Run();
  const Encryption open = ShowEncryption(out, "");
  ASSERT_TRUE(open.encrypted);
  EXPECT_EQ(open.revision, "6"); // AES-256 unless asked otherwise

  EXPECT_EQ(open.permissions.substr(0, 1), "-");
  const int32_t p = std::stoi(open.permissions);
  EXPECT_EQ(p & (4 | 8 | 16), 0);
  EXPECT_TRUE(ShowEncryption(out, "owner").ownerAccepted);
  EXPECT_TRUE(ReadBack(out).loaded);
}

TEST_F(Protection, OpenPasswordAloneIsAlsoTheOwnerPassword) {
  job.SetOpenPwd("open");
  job.SetPemissionPwd(nullptr, false, false, true);
  const std::string out = Run();
  EXPECT_FALSE(ReadBack(out).loaded); // asks for the password
  EXPECT_TRUE(ReadBack(out, "open").loaded);
  const Encryption e = ShowEncryption(out, "open");
  EXPECT_TRUE(e.ownerAccepted);
  EXPECT_EQ(std::stoi(e.permissions) & (4 | 8 | 16), 4);
}

TEST_F(Protection, SeparatePasswordsAndAllSwitches) {
  job.SetOpenPwd("open");
  job.SetPemissionPwd("owner", true, true, true);
  const std::string out = Run();
  EXPECT_FALSE(ShowEncryption(out, "open").ownerAccepted);
  EXPECT_TRUE(ShowEncryption(out, "owner").ownerAccepted);
  EXPECT_EQ(std::stoi(ShowEncryption(out, "open").permissions) & (4 | 8 | 16), 4 | 8 | 16);
}

TEST_F(Protection, EmptiedOpenPasswordIsNotUsed) {
  job.SetOpenPwd("open");
  job.SetOpenPwd("");
  job.SetPemissionPwd("owner", false, true, false);
  const std::string out = Run();
  EXPECT_TRUE(ReadBack(out).loaded); // opens without a password
}

TEST_F(Protection, OtherAlgorithmsOnRequest) {
  const struct {
    int code;
    const char *revision;
  } cases[] = {{ENCRYPT_RC4_40, "2"},
               {ENCRYPT_RC4_128, "3"},
               {ENCRYPT_AES_128, "4"},
               {ENCRYPT_AES_256, "6"}};
  for (const auto &c : cases) {
    ASSERT_TRUE(job.SetEncryption(c.code));
    job.SetOpenPwd("open");
    job.SetPemissionPwd("owner", false, false, true);
    const std::string out = Run();
    EXPECT_EQ(ShowEncryption(out, "open").revision, c.revision) << c.code;
    EXPECT_TRUE(ReadBack(out, "open").loaded) << c.code;
    EXPECT_FALSE(ReadBack(out, "wrong").loaded) << c.code;
  }
  EXPECT_FALSE(job.SetEncryption(7));
}

} // namespace
