#pragma once

#include <map>
#include <vector>

#include "api.h"
#include "egeometry.h"
#include "estring.h"
#include "ewidgetevent.h"
#include "sigc.h"

class eActionMap;
class gPainter;

// Base of every widget and window. A widget created with a parent belongs
// to it and is destroyed with it; positions are in the parent's client area.
class HOST_API eWidget : public virtual SigC::Object {
 public:
  explicit eWidget(eWidget* parent = nullptr, int takefocus = 0);
  eWidget(const eWidget&) = delete;
  eWidget& operator=(const eWidget&) = delete;
  virtual ~eWidget();

  virtual void willShow();
  virtual void willHide();
  virtual void setPalette();
  virtual int eventFilter(const eWidgetEvent& event);
  virtual void keyDown(int rc);
  virtual void keyUp(int rc);
  virtual void gotFocus();
  virtual void lostFocus();
  virtual void recalcClientRect();
  virtual int eventHandler(const eWidgetEvent& event);
  virtual void redrawWidget(gPainter* target, const eRect& area);
  virtual void eraseBackground(gPainter* target, const eRect& area);
  virtual int setProperty(const eString& prop, const eString& value);

  void show();
  void hide();
  bool isVisible() const { return shown; }

  // Runs a modal loop until close() is called on this widget.
  int exec();
  void close(int result);

  void setText(const eString& text);
  const eString& getText() const { return text; }
  void setHelpText(const eString& help);
  const eString& getHelpText() const { return helptext; }
  // The text the status bar shows while this widget has the focus.
  virtual eString getStatusText() const { return helptext; }

  void move(const ePoint& position);
  void resize(const eSize& size);
  void cmove(const ePoint& clientPosition);
  void cresize(const eSize& clientSize);
  ePoint getPosition() const { return position; }
  eSize getSize() const { return size; }
  const eRect& getClientRect() const { return clientrect; }
  eSize getClientSize() const { return clientrect.size(); }

  // On a window: moves the focus to one of its widgets.
  void setFocus(eWidget* widget);
  eWidget* getFocus() const { return focus; }
  bool takesFocus() const { return takefocus != 0; }
  void addActionMap(eActionMap* map);
  const std::vector<eActionMap*>& getActionMaps() const { return actionmaps; }

  eWidget* getParent() const { return parent; }
  eWidget* getTLW();
  const std::vector<eWidget*>& getChildren() const { return children; }
  const std::map<eString, eString>& getProperties() const { return properties; }
  // The stand-in's kind name of the widget, as dumps show it.
  virtual const char* kindName() const { return "eWidget"; }

  // Delivers an event: first the filter, then the handler.
  int event(const eWidgetEvent& event);
  // Tells the status bars of this widget's window that what they show changed.
  void statusChanged();

 protected:
  void setClientRect(const eRect& rect) { clientrect = rect; }
  // Up/down between the window's focusable widgets, in creation order.
  void focusNext(int direction);

 private:
  eWidget* parent;
  std::vector<eWidget*> children;
  std::vector<eActionMap*> actionmaps;
  std::map<eString, eString> properties;
  eString text, helptext;
  ePoint position;
  eSize size;
  eRect clientrect;
  eWidget* focus = nullptr;
  int takefocus;
  bool shown = false;
  struct ModalState* modal = nullptr;
};

// Widgets whose look comes from a named skin decoration.
class HOST_API eDecoWidget : public eWidget {
 public:
  eDecoWidget(eWidget* parent, int takefocus, const char* deco);
  void loadDeco();
  const eString& getDecoName() const { return deco; }
  bool hasDeco() const { return decoLoaded; }

 private:
  eString deco;
  bool decoLoaded = false;
};
