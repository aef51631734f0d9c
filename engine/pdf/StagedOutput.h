#pragma once
// Output written beside its target under a private temporary name and moved over the target
// only when complete, so a failed or cancelled run never leaves a half-written file and never
// destroys an existing one.

#include <string>

namespace engine::pdf {

class StagedOutput {
public:
  // Creates the temporary file in the target's folder; Ok() is false when that fails.
  explicit StagedOutput(const std::string &strTarget);
  // Removes the temporary file unless Commit succeeded.
  ~StagedOutput();
  StagedOutput(const StagedOutput &) = delete;
  StagedOutput &operator=(const StagedOutput &) = delete;

  bool Ok() const { return !m_strTemp.empty(); }
  const std::string &TempPath() const { return m_strTemp; }
  // Moves the temporary file over the target; false when that fails.
  bool Commit();

private:
  std::string m_strTarget;
  std::string m_strTemp;
  bool m_bCommitted = false;
};

} // namespace engine::pdf
