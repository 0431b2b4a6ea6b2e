// What the contract suite needs from a platform to build test trees and look at them by its own
// means, not through the services under test. One implementation per platform.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"

class ContractFixture {
 public:
  virtual ~ContractFixture() = default;

  // A fresh, empty folder for one test (a folder path: ends with '\').
  virtual std::string Root() = 0;

  virtual void MakeFolder(const std::string& path, uint32_t attributes = faDirectory) = 0;
  virtual void MakeFile(const std::string& path, uint64_t size = 0,
                        LocalDateTime time = {2001, 3, 9, 7, 5, 42},
                        uint32_t attributes = faArchive) = 0;
  virtual void MakeFileWith(const std::string& path, const std::string& content) = 0;
  // A link folder at path leading to the folder target. False where the platform cannot make
  // one here; the test then says so and skips.
  virtual bool MakeLink(const std::string& path, const std::string& target) = 0;
  // A link at path leading to the file target. False where the platform cannot make one.
  virtual bool MakeFileLink(const std::string& path, const std::string& target) = 0;
  // Makes an existing folder unreadable (its entries cannot be listed) until the fixture goes.
  virtual void MakeUnreadable(const std::string& folder) = 0;
  // An entry beside one whose name differs from path's only in letter case (a file holding
  // content, or an empty folder). False where folders here cannot hold both.
  virtual bool MakeCaseTwin(const std::string& path, bool folder, const std::string& content) = 0;
  // The volume under Root() ignores renames that change only letter case (as FAT32 does, or
  // Wine), or honours them (as NTFS does). False where this platform's volume cannot be made to
  // behave so; the test then says so and skips.
  virtual bool SetIgnoresCaseOnlyRenames(bool ignores) = 0;

  // Stored names in a folder, in any order.
  virtual std::vector<std::string> NamesIn(const std::string& folder) = 0;
  virtual std::string ContentOf(const std::string& path) = 0;
  // True while an enumeration of folder is open.
  virtual bool EnumerationOpenOn(const std::string& folder) = 0;
};

// Defined once per platform.
std::unique_ptr<ContractFixture> MakeContractFixture();
