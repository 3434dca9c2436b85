#pragma once

#include "app/controller/cms/CmsDetailBaseViewController.h"

class CmsCommentViewController : public CmsDetailBaseViewController {
  PF_OBJECT(CmsCommentViewController, CmsDetailBaseViewController)
};
