# lld links the sanitizer builds' large test programs in a fraction of the default linker's time.
include(CheckLinkerFlag)
check_linker_flag(CXX -fuse-ld=lld MARLUNE_LINKER_LLD)
if(MARLUNE_LINKER_LLD)
  add_link_options(-fuse-ld=lld)
endif()
