// The game model's two window operations, made with real Win32 calls.
#pragma once

// Installs them for the whole process; call once before any board view exists.
void installWin32WindowNotifier();
