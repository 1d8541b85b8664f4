// Windows with one default instance each, loaded on first use and destroyed by Unload.
//
// A window derives from Form and puts its start-up into Form_Load. Forms::Get<T>() gives the
// default instance, creating and loading it on first use; Show() shows it modeless and brings
// it to the front without loading it again; Unload() runs Form_Unload, hides the window and
// destroys it, so that the next Get<T>() loads a fresh one. The process ends when the last
// window is unloaded while the event loop runs.
#pragma once

#include <QWidget>
#include <map>
#include <typeindex>
#include <typeinfo>

namespace vx::ui {

class Form : public QWidget {
  Q_OBJECT
 public:
  explicit Form(QWidget* parent = nullptr);
  ~Form() override;

  // Shows the window modeless, raised and active.
  void Show();
  // Asks CanClose(), then Form_Unload(), hides the window and destroys it (deferred, so that
  // a window may unload itself from its own event handlers; a window unloaded while its
  // Form_Load still runs, from a message box's loop, is destroyed once Form_Load has
  // returned). False when the window refused.
  bool Unload();

  QString Caption() const { return windowTitle(); }
  void SetCaption(const QString& caption) { setWindowTitle(caption); }

  // Inner width and height in twips.
  double ScaleWidth() const;
  double ScaleHeight() const;

  // True from the start of Form_Load until Unload.
  bool IsLoaded() const { return loaded_ && !unloaded_; }
  bool IsUnloaded() const { return unloaded_; }

 protected:
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_Resize() {}
  virtual void Form_Unload() {}
  // A window whose own rule may refuse closing overrides this; closing is allowed otherwise.
  virtual bool CanClose() { return true; }

  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  friend class Forms;
  void Load();

  bool loaded_ = false;
  bool unloaded_ = false;
  bool inLoad_ = false;
};

// The registry of default instances.
class Forms {
 public:
  // The default instance, created and loaded on first use. Null only when the window
  // unloaded itself during its own load.
  template <class T>
  static T* Get() {
    const std::type_index key(typeid(T));
    if (Form* f = Find(key)) return static_cast<T*>(f);
    T* f = new T();
    Add(key, f);
    f->Load();
    return f->IsUnloaded() ? nullptr : f;
  }

  // Get<T>() and Show(); null when the window unloaded itself while loading.
  template <class T>
  static T* Show() {
    T* f = Get<T>();
    if (f) f->Show();
    return f;
  }

  template <class T>
  static bool IsLoaded() {
    return Find(std::type_index(typeid(T))) != nullptr;
  }

  // Runs fn on the window only when it is loaded; never loads it.
  template <class T, class Fn>
  static void IfLoaded(Fn&& fn) {
    if (Form* f = Find(std::type_index(typeid(T)))) fn(*static_cast<T*>(f));
  }

  template <class T>
  static bool Unload() {
    Form* f = Find(std::type_index(typeid(T)));
    return f ? f->Unload() : true;
  }

  // Unloads every loaded window (CanClose is asked; refusals stay loaded).
  static void UnloadAll();
  static int LoadedCount();

 private:
  friend class Form;
  static Form* Find(const std::type_index& key);
  static void Add(const std::type_index& key, Form* form);
  static void Remove(Form* form);
};

}  // namespace vx::ui
