#include "Cancellation.h"

void Cancellation::cancel()
{
    if (!m_cancelled.exchange(true))
        emit cancelled();
}
