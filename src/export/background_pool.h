#pragma once

class QThreadPool;

namespace tavrola {

// Where work that must not hold up the window runs; its result goes back to the GUI thread by a
// queued call to an object that is then dropped if the object has gone. The pool is never
// waited for when the program ends, so the end never waits for a worker (one flushing a file to
// disk, say): a worker must own, or share, everything it touches.
QThreadPool& BackgroundPool();

}  // namespace tavrola
