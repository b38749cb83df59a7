// The 64-bit emulation layer's functions, looked up at run time because
// older systems lack them.
#pragma once

namespace kelvara::platform::win32 {

// The own process is a 32-bit process under the emulation layer.
bool IsWow64Process();
// The native processor architecture (PROCESSOR_ARCHITECTURE_*), from
// GetNativeSystemInfo; nothing when the function is missing.
bool NativeArchitecture(unsigned& architecture);

}  // namespace kelvara::platform::win32
