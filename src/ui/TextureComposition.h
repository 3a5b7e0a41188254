#pragma once

class QWidget;

// A web view draws through OpenGL into a texture that its top-level window composes. Qt switches a
// top-level to such composition when the first of these children arrives by destroying its native
// window and creating a new one: under X11 a new window, a visible flicker, and window-manager
// state (position, stacking) may be lost.
//
// Called just before the first such child is embedded, this switches the top-level in place
// instead: its X11 window becomes an OpenGL surface as it is, and the window composes through
// OpenGL from then on. It does so only where OpenGL is seen to draw into that very window; on
// other platforms, or when it does not, the window is left to Qt, which recreates it. Nothing of
// this costs a window that never embeds a web view.
void composeTextureChildrenInPlace(QWidget *topLevel);
