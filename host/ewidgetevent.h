#pragma once

class eAction;

struct eWidgetEvent {
  enum eventType {
    evtKey = 1,      // a typed character, in `key`
    evtAction = 15,  // a mapped action, in `action`
  };

  eWidgetEvent(int type, const eAction* action) : type(type), action(action) {}
  eWidgetEvent(int type, int key) : type(type), key(key) {}

  int type;
  const eAction* action = nullptr;
  int key = 0;
};
