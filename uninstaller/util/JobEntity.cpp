#include "JobEntity.h"

void JobEntity::entityHook(quint32 value)
{
    Q_UNUSED(value);
}
