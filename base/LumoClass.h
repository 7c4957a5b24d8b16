#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

// The class and property registry: every persistent class describes itself
// with one static class record and one static property record per persistent
// field. Each build (program, library) has its own registry, built during
// static initialisation and never freed.

class LumoList;
class LumoObject;
class LumoStream;
class LumoProperty;

// ---- Property type codes (held in an unsigned 32-bit word) ----

enum tPropertyType : uint32_t {
  PropertyObject = 0,      // "tUnknown": presence byte and an object record
  PropertyBool = 1,        // "tBool"
  PropertyCharStr = 2,     // "tCharStr": owned text, length-prefixed
  PropertyBoolByte = 3,    // one byte read as a bool
  PropertySignedByte = 4,  // "tByte", "tSignedByte"
  PropertyShort = 5,       // "tShortInt", "tWord": 16-bit
  PropertyInteger = 6,     // "tInteger", "tCardinal", "tLong", "tPosition": 32-bit
  PropertyLong64 = 7,      // 64-bit
  PropertySingle = 8,      // "tSingle": float, raw bytes
  PropertyDouble = 9,      // double, raw bytes
  PropertyString = 10,     // growable string, length-prefixed
  PropertyBuffer = 11,     // byte buffer, length-prefixed
  PropertyByte = 12,       // unsigned byte
  PropertyWord = 13,       // unsigned 16-bit
  PropertySet = 14,        // "tSet": 32-bit set of flags
  PropertyPointer = 15,    // "tPointer": no generic form, the class stores it
  PropertyFourBytes = 16,  // "t4Bytes": four raw bytes
};

// ---- Version words (major, minor, build, revision from the top byte) ----

constexpr uint32_t kVersion_1_4_0_0 = 0x01040000;  // the framework's classes
constexpr uint32_t kVersion_1_5_1_6 = 0x01050106;
constexpr uint32_t kVersion_1_6_0_6 = 0x01060006;  // navigation and logic
constexpr uint32_t kVersion_1_6_0_7 = 0x01060007;
constexpr uint32_t kVersion_1_7_8_0 = 0x01070800;  // the engine version
constexpr uint32_t kClassDefaultVersion = kVersion_1_4_0_0;
constexpr uint32_t kPropertyDefaultVersion = kVersion_1_7_8_0;

// The static record of one persistent class. Constructing it makes it the
// head of the registry; the properties constructed after it (in the same
// translation unit) become its properties, in construction order.
class LumoClass {
 public:
  LumoClass(uint32_t classVersion, const char* className, const char* baseClassName);
  LumoClass(const LumoClass&) = delete;
  LumoClass& operator=(const LumoClass&) = delete;

  // The class's factory: a new instance made with its default constructor,
  // null when memory runs out. The base record makes nothing.
  virtual LumoObject* Create() const;

  uint32_t version = kClassDefaultVersion;
  const char* name = nullptr;      // static text, e.g. "LumoNode"
  const char* baseName = nullptr;  // static text, e.g. "LumoObject"
  const LumoClass* next = nullptr;  // the record registered before this one
  const LumoProperty* firstProperty = nullptr;
};

// The static record of one persistent field. Its Load and Save run the
// object's per-field operations; the base record answers false.
class LumoProperty {
 public:
  LumoProperty(uint32_t propertyVersion, uint32_t propertyType, const char* propertyTypeName,
               const char* propertyFieldName);
  LumoProperty(const LumoProperty&) = delete;
  LumoProperty& operator=(const LumoProperty&) = delete;

  virtual bool Load(LumoStream* stream, LumoObject* object) const;
  virtual bool Save(LumoStream* stream, LumoObject* object) const;

  // True when the stream's data is older than this field, so the field is
  // neither read nor written.
  bool IsNewerThan(const LumoStream* stream) const;

  uint32_t version = kPropertyDefaultVersion;
  uint32_t typeCode = PropertyObject;  // a tPropertyType; the low 8 bits count
  const char* typeName = nullptr;      // e.g. "tInteger"
  const char* fieldName = nullptr;     // e.g. "Name"
  const LumoProperty* next = nullptr;  // next property of the same class
};

// The record of class T: its factory makes a T.
template <typename T>
class LumoClassOf final : public LumoClass {
 public:
  using LumoClass::LumoClass;
  LumoObject* Create() const override { return new (std::nothrow) T; }
};

// The record of one field of class Owner, stored through Owner's per-field
// load and save operations (virtual, so derived classes may take over).
template <typename Owner, bool (Owner::*LoadField)(LumoStream*, const LumoProperty*),
          bool (Owner::*SaveField)(LumoStream*, const LumoProperty*)>
class LumoFieldProperty final : public LumoProperty {
 public:
  using LumoProperty::LumoProperty;

  bool Load(LumoStream* stream, LumoObject* object) const override {
    Owner* owner = dynamic_cast<Owner*>(object);
    if (owner == nullptr) {
      return false;
    }
    return IsNewerThan(stream) || (owner->*LoadField)(stream, this);
  }

  bool Save(LumoStream* stream, LumoObject* object) const override {
    Owner* owner = dynamic_cast<Owner*>(object);
    if (owner == nullptr) {
      return false;
    }
    return IsNewerThan(stream) || (owner->*SaveField)(stream, this);
  }
};

// Defines the record of one field of Class whose load and save operations are
// Class::LoadField and Class::SaveField; the record is named Class_Field.
#define LUMO_FIELD_PROPERTY(version, Class, Field, typeCode, typeName)                  \
  LumoFieldProperty<Class, &Class::Load##Field, &Class::Save##Field> Class##_##Field( \
      version, typeCode, typeName, #Field)

// Defines the per-field operations of a field stored in the generic form of
// its type code: they hand the field's address to the object's property
// reader and writer.
#define LUMO_GENERIC_FIELD(Class, Field)                                      \
  bool Class::Load##Field(LumoStream* stream, const LumoProperty* property) { \
    return LoadPropertyFrom(stream, property, &Field);                        \
  }                                                                           \
  bool Class::Save##Field(LumoStream* stream, const LumoProperty* property) { \
    return SavePropertyTo(stream, property, &Field);                          \
  }

// The record registered last under exactly this name (case-sensitive); null
// for a null name or when none matches.
const LumoClass* FindClass(const char* className);

// A new object of the named class. With an owner, the object is handed to the
// owner's RegisterObject; a refused object is destroyed and null answered.
// Null too when the class is unknown or its factory fails.
LumoObject* CreateObject(const char* className, LumoObject* owner);

// The classes from className up to its farthest registered ancestor, in the
// order of BuildClassChain, as an array made once per class and kept for the
// life of the process: loads and saves walk it for every object. An
// unregistered name gives no classes; false for a null name.
bool GetClassChain(const char* className, const LumoClass* const*& first, size_t& count);

// A new list with one node per registered class from className up to its
// farthest registered ancestor: each node is named after its class and holds
// the class record (a const LumoClass*) in its Data. An unregistered name
// gives an empty list; null for a null name or when memory runs out.
LumoList* BuildClassChain(const char* className);
