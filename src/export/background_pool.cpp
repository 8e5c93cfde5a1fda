#include "export/background_pool.h"

#include <QThreadPool>

namespace tavrola {

QThreadPool& BackgroundPool() {
    // Never deleted: deleting a pool waits for its workers.
    static QThreadPool* const pool = new QThreadPool;
    return *pool;
}

}  // namespace tavrola
