#include "app/model/cms/Teacher.h"

void Teacher::declareProperties(pf::ClassBuilder<Teacher>& b) {
  PF_PROPERTY(b, teacherName);
  PF_PROPERTY(b, teacherSource);
}
