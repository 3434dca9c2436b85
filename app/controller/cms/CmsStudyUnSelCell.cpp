#include "app/controller/cms/CmsStudyUnSelCell.h"
