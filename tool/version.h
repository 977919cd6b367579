// The programs' version. The build sets D88CUT_VERSION from the one place the
// project keeps it: the CMake project version.
#ifndef D88CUT_TOOL_VERSION_H_
#define D88CUT_TOOL_VERSION_H_

inline constexpr char kProgramVersion[] = D88CUT_VERSION;

#endif  // D88CUT_TOOL_VERSION_H_
