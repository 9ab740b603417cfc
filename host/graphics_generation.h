// The generation of the graphics context: the number every host advances each time it makes a new drawing
// context (a window opened or re-opened on the desktop, the canvas's context in a browser).
// Depends on nothing. Textures belong to the context they were made in; surfaces and texture pages compare the
// generation they were made under with this one to see that theirs are gone and must be made again.
#pragma once

// 0 until the first context exists; incremented with each new one.
extern int kpGraphicsSeq;
