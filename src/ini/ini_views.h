#pragma once
// The views of a section and of an object that readers of show data hold. They are
// non-owning: the document owns every section and object and outlives the views.
#include <string>
#include <string_view>

namespace kiv {

class IIniObject;

class IIniSection {
 public:
  virtual std::u16string GetName() const = 0;
  // The value of the ident, or def when it is absent.
  virtual std::u16string ReadString(std::u16string_view name, std::u16string_view def) const = 0;
  // Finds or adds the ident and sets its value.
  virtual void WriteString(std::u16string_view name, std::u16string_view value) = 0;
  // The first child object, or none.
  virtual IIniObject* FirstObject() const = 0;

 protected:
  ~IIniSection() = default;
};

class IIniObject : public virtual IIniSection {
 public:
  virtual std::u16string GetValue() const = 0;
  virtual void SetValue(std::u16string_view value) = 0;
  // The next sibling object, or none.
  virtual IIniObject* NextObject() const = 0;

 protected:
  ~IIniObject() = default;
};

}  // namespace kiv
