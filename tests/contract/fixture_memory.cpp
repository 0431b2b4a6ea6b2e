// The contract fixture over the in-memory volume. The volume behaves as Wine does: case-only
// renames are ignored and names that differ only in case may stand side by side, so that the
// suite proves the same rules in both implementations.
#include "platform/memory/memory_volume.h"
#include "tests/contract/fixture.h"

namespace {

class MemoryFixture : public ContractFixture {
 public:
  std::string Root() override {
    volume().Reset();
    volume().SetIgnoresCaseOnlyRenames(true);
    volume().SetCaseSensitiveNames(true);
    volume().MakeFolder("C:\\contract");
    return "C:\\contract\\";
  }
  void MakeFolder(const std::string& path, uint32_t attributes) override {
    volume().MakeFolder(path, attributes);
  }
  void MakeFile(const std::string& path, uint64_t size, LocalDateTime time,
                uint32_t attributes) override {
    volume().MakeFile(path, size, time, attributes);
  }
  void MakeFileWith(const std::string& path, const std::string& content) override {
    volume().MakeFile(path);
    volume().WriteFile(path, content);
  }
  bool MakeLink(const std::string& path, const std::string& target) override {
    volume().MakeLink(path, target);
    return true;
  }
  bool MakeFileLink(const std::string&, const std::string&) override { return false; }
  void MakeUnreadable(const std::string& folder) override { volume().SetUnreadable(folder); }
  bool MakeCaseTwin(const std::string& path, bool folder, const std::string& content) override {
    if (folder) {
      volume().MakeFolder(path);
    } else {
      MakeFileWith(path, content);
    }
    return true;
  }
  bool SetIgnoresCaseOnlyRenames(bool ignores) override {
    volume().SetIgnoresCaseOnlyRenames(ignores);
    return true;
  }
  std::vector<std::string> NamesIn(const std::string& folder) override {
    return volume().NamesIn(folder);
  }
  std::string ContentOf(const std::string& path) override {
    std::string data;
    return volume().ReadFile(path, data) ? data : "(no such file)";
  }
  bool EnumerationOpenOn(const std::string&) override { return volume().OpenEnumerations() > 0; }

 private:
  static memory::Volume& volume() { return memory::Volume::Get(); }
};

}  // namespace

std::unique_ptr<ContractFixture> MakeContractFixture() { return std::make_unique<MemoryFixture>(); }
