# Copies SOURCE to DESTINATION when the skins exist; nothing to do otherwise.
if(EXISTS ${SOURCE})
  file(COPY ${SOURCE}/ DESTINATION ${DESTINATION})
endif()
