// Where end-to-end tests leave screenshots and other files for a person to look at.
#pragma once

#include <string>

namespace e2e {

// The folder (Windows form, created on first use): SEEKWORD_ARTIFACTS from the environment, or
// the one the build gave, or the current folder.
std::string ArtifactFolder();
// The path of a file in it, for example ArtifactPath("frame.png").
std::string ArtifactPath(const std::string& name);

} // namespace e2e
