// Property lists, XML and binary: reading any bytes, then writing what was read in both formats and
// reading that again, which must give the same value (XML keeps dates to the second, binary to about a
// microsecond). Input: the property list file.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/foundation/PropertyList.h"

namespace {

bool same(const pf::Value& a, const pf::Value& b, double dateTolerance) {
  if (a.kind() != b.kind()) return false;
  switch (a.kind()) {
    case pf::Value::Kind::Date:
      return std::fabs(a.date()->seconds - b.date()->seconds) <= dateTolerance;
    case pf::Value::Kind::Array: {
      const pf::Array& x = *a.array();
      const pf::Array& y = *b.array();
      if (x.size() != y.size()) return false;
      for (std::size_t i = 0; i < x.size(); ++i) {
        if (!same(x[i], y[i], dateTolerance)) return false;
      }
      return true;
    }
    case pf::Value::Kind::Dictionary: {
      const pf::Dictionary& x = *a.dictionary();
      const pf::Dictionary& y = *b.dictionary();
      if (x.size() != y.size()) return false;
      for (auto i = x.begin(), j = y.begin(); i != x.end(); ++i, ++j) {
        if (i->first != j->first || !same(i->second, j->second, dateTolerance)) return false;
      }
      return true;
    }
    case pf::Value::Kind::Number:
      // A NaN written out reads back as a NaN, which equals nothing.
      if (std::isnan(a.number()->doubleValue())) return std::isnan(b.number()->doubleValue());
      return a == b;
    default:
      return a == b;
  }
}

void roundTrip(const pf::Value& value, pf::PropertyList::Format format) {
  pf::ErrorPtr error;
  const std::optional<pf::Data> data = pf::PropertyList::dataWithPropertyList(value, format, &error);
  if (!data) return;  // some values read cannot be written (out of the format's range)
  const pf::Value again = pf::PropertyList::propertyListWithData(*data, nullptr, &error);
  const bool xml = format == pf::PropertyList::Format::Xml;
  if (again.isNil() || !same(value, again, xml ? 1.0 : 1e-5)) {
    std::fprintf(stderr, "written %s property list does not read back the same: %s\n", xml ? "XML" : "binary",
                 error ? error->description().c_str() : "");
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  pf::PropertyList::Format format;
  pf::ErrorPtr error;
  const pf::Value value = pf::PropertyList::propertyListWithData(pf::Data(bytes, bytes + size), &format, &error);
  if (value.isNil()) return 0;
  (void)pf::PropertyList::isValidPropertyList(value);
  roundTrip(value, pf::PropertyList::Format::Xml);
  roundTrip(value, pf::PropertyList::Format::Binary);
  return 0;
}
