// The common base of the protocol components.
#pragma once

#include <vector>

namespace velmo::net {

class T_Base_Component {
  public:
    T_Base_Component() = default;
    virtual ~T_Base_Component();
    T_Base_Component(const T_Base_Component&) = delete;
    T_Base_Component& operator=(const T_Base_Component&) = delete;

    // Told by a component that it is going away; nothing to do by default.
    virtual void Notification(T_Base_Component* component);

    // Objects that are told when this one is destroyed (not owned; empty entries are skipped).
    std::vector<T_Base_Component*> Dependents;
};

}  // namespace velmo::net
