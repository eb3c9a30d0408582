// The common base of the protocol components.
#include "net/base_component.h"

namespace velmo::net {

T_Base_Component::~T_Base_Component() {
    for (T_Base_Component* dependent : Dependents)
        if (dependent) dependent->Notification(this);
}

void T_Base_Component::Notification(T_Base_Component*) {}

}  // namespace velmo::net
